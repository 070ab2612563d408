#include "Card.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel::cardsim {
namespace {

// Drives a Card on a made-up clock and collects everything it says.
class CardOnClock {
  public:
    explicit CardOnClock(const Options& options) : card_(options, now_) {}

    std::vector<std::string> Send(const std::string& bytes) {
        auto lines = card_.Receive(bytes, now_);
        card_.Advance(now_);
        return lines;
    }
    // Moves the clock on, writing out whatever comes due; returns what was said meanwhile.
    std::string Wait(Millis ms) {
        Millis until = now_ + ms;
        for (;;) {
            said_ += card_.Output();
            card_.Output().clear();
            Millis wake = card_.NextWake();
            if (wake < 0 || wake > until || said_.size() > 10'000)
                break;
            now_ = std::max(now_, wake);
            card_.Advance(now_);
        }
        now_ = until;
        card_.Advance(now_);
        said_ += card_.Output();
        card_.Output().clear();
        return Take();
    }
    std::string Take() {
        std::string said = said_ + card_.Output();
        said_.clear();
        card_.Output().clear();
        return said;
    }
    Card& card() { return card_; }

  private:
    Millis now_ = 1000;
    Card card_;
    std::string said_;
};

Options Script(std::vector<std::string> words) {
    Options options;
    options.link = "/tmp/x";
    for (std::size_t i = 0; i + 1 < words.size(); i += 2) {
        std::string kind = words[i], value = words[i + 1];
        if (kind == "echo")
            options.echo = value == "on";
        else if (kind == "delay")
            options.delays.push_back(
                {value.substr(0, value.find('=')), std::stoi(value.substr(value.find('=') + 1))});
        else if (kind == "flood")
            options.replies.push_back({value, {ReplyKind::Flood, ""}});
        else if (kind == "vanish")
            options.replies.push_back({value, {ReplyKind::Vanish, ""}});
        else if (kind == "unsolicited")
            options.unsolicited.push_back({value, 500});
    }
    return options;
}

TEST(Card, EchoStopsAfterEchoOffAndALineFeedStartsTheNextLine) {
    CardOnClock card(Script({}));
    EXPECT_EQ(card.Send("ATE0\r"), std::vector<std::string>{"ATE0\r"});
    EXPECT_EQ(card.Take(), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(card.Send("\nAT+CGMM\r"), std::vector<std::string>{"\nAT+CGMM\r"});
    EXPECT_EQ(card.Take(), "\r\nK3000\r\n\r\nOK\r\n");
    card.Send("at+c");
    EXPECT_EQ(card.card().PartialLine(), "at+c");
    EXPECT_EQ(card.Take(), "");
}

TEST(Card, DelayedReplyComesOnTimeAndANewCommandCancelsIt) {
    CardOnClock card(Script({"echo", "off", "delay", "AT+CGMM=2000"}));
    card.Send("AT+CGMM\r");
    EXPECT_EQ(card.Wait(1999), "");
    EXPECT_EQ(card.Wait(1), "\r\nK3000\r\n\r\nOK\r\n");
    card.Send("AT+CGMM\r");
    EXPECT_EQ(card.Wait(1000), "");
    card.Send("ATE0\r");
    EXPECT_EQ(card.Wait(5000), "\r\nOK\r\n");
}

TEST(Card, FloodNeverSaysOkAndEndsWithTheNextCommand) {
    CardOnClock card(Script({"echo", "off", "flood", "AT+CGMM"}));
    card.Send("AT+CGMM\r");
    std::string noise = card.Wait(10);
    EXPECT_GT(noise.size(), 1000u);
    EXPECT_EQ(noise.find("OK"), std::string::npos);
    EXPECT_EQ(noise.find("ERROR"), std::string::npos);
    card.Send("ATE0\r");
    std::string after = card.Wait(1000);
    EXPECT_EQ(after.substr(after.size() - 6), "\r\nOK\r\n");
    EXPECT_EQ(card.card().NextWake(), -1) << "still flooding";
}

TEST(Card, UnsolicitedNoticeWaitsUntilTheReplyIsOut) {
    CardOnClock card(Script({"echo", "off", "unsolicited", "RING", "delay", "ATE0=700"}));
    EXPECT_EQ(card.Wait(500), "\r\nRING\r\n");
    card.Send("ATE0\r");
    EXPECT_EQ(card.Wait(700), "\r\nOK\r\n\r\nRING\r\n");
}

TEST(Card, VanishSendsPartOfTheReplyThenUnplugs) {
    CardOnClock card(Script({"echo", "off", "vanish", "ATE0"}));
    card.Send("ATE0\r");
    EXPECT_EQ(card.Take(), "\r\nO");
    EXPECT_FALSE(card.card().Vanished());
    card.Wait(1500);
    EXPECT_TRUE(card.card().Vanished());
}

}  // namespace
}  // namespace quorvel::cardsim
