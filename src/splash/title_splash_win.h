#pragma once
// The title splash as start-up uses it: shown before the main window, held through the first
// wait, played, and closed after the second wait. Should start-up fail in between, the splash
// is closed as its holder goes, before the error is reported.
#include <memory>

#include "core/program.h"

namespace kembo {

class Application;
class Ttitle4_f1;

class TitleSplash {
public:
    TitleSplash(Application& app, Program& program);
    ~TitleSplash();
    TitleSplash(const TitleSplash&) = delete;
    TitleSplash& operator=(const TitleSplash&) = delete;

    // Shows the first picture, waits val_titlewait milliseconds without serving messages and
    // plays the transition. Does nothing when the splash is not wanted.
    void ShowTitleSplash(bool commandLineHasParameters);
    // Closes and destroys the splash if it is showing.
    void CloseTitleSplash();

private:
    Application& app_;
    Program& program_;
    std::unique_ptr<Ttitle4_f1> form_;
};

}  // namespace kembo
