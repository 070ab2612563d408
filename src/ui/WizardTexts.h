#pragma once

namespace quorvel {

inline constexpr char kNextCaption[] = "&Next";
inline constexpr char kFinishCaption[] = "&Finish";
inline constexpr char kCardTypeLead[] = "\r\nThe Card type is ";
inline constexpr char kProgressLead[] = "\r\n\r\n";
inline constexpr char kConfirmExitText[] = "Are you sure exit!";
inline constexpr char kConfirmExitCaption[] = "Quorvel";

// The string-table texts that tell a status on the welcome page (its body) and on the result
// page (its title and body).
int WelcomeBodyTextId(int status);

struct ResultTextIds {
    int title;
    int body;
};

ResultTextIds ResultTextIdsFor(int status);

}  // namespace quorvel
