#pragma once

// The main window's logic: runs a test from its start command to its end, and owns all state
// that lives as long as the program (the answer key, the mode, the fully random series, the
// generator, the start directory). It reaches the window only through UiSurface; the counters
// the user sees live only in the status labels.
//
// The handlers are called by the window's event dispatch, each through RunHandler, so a failure
// that leaves one is reported and the handler stays abandoned where it failed.

#include "bank/answer_key.h"
#include "bank/question_ref.h"
#include "ui/ui_surface.h"

#include <cstdint>
#include <string>

namespace brzdomat {

class TestController {
public:
    explicit TestController(UiSurface&);

    // Start-up: fills the answer key and empties the status labels.
    void FormCreate();
    // First activation records the start directory (after the splash window, which the window
    // shows itself); later calls do nothing.
    void RecordStartDirectory(std::string directory);

    // Commands of the "&Testy" menu and the confirm button.
    void N11Click() { StartChosenTest(1); }
    // ... one handler per item "1" .. "32", each calling StartChosenTest(k).
    void StartChosenTest(int test);
    void Nhodnceltest1Click();
    void Nhodnvbrotzek251Click();
    void plnnhodnvbrotzek1Click();
    void Ukonittest1Click();
    void Button1Click();
    // The clock's tick, once a minute while a test runs.
    void Timer1Timer();

    // The pseudo-random generator shared by every draw of the program.
    int RandomBelow(int n);

    // Read-only views for the window and the tests.
    const std::string& TestMode() const;
    const std::string& StartDirectory() const;
};

} // namespace brzdomat
