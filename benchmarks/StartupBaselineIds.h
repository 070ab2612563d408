// Shared by the start-up baseline's resource script and the bench that times it. Plain
// #defines, as the resource compiler reads this file too.
#pragma once

#define IDD_BASELINE 100
#define IDC_BASELINE_TEXT 1004

// The dialog's caption, which the bench looks the window up by.
#define BASELINE_CAPTION "QuorvelBench baseline"
