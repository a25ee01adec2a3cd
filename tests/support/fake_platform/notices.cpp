#include "fake_platform/fake_state.h"
#include "platform/notices.h"

namespace tellurix::platform {

using namespace fake::internal;

// --- Notices ----------------------------------------------------------------

void addBalloonTip(int control, std::string_view text, std::string_view title, int icon)
{
    record("addBalloonTip", control);
    kit().tips[control] = {std::string(title), std::string(text), icon};
}

void showMessageBox(std::string_view title, std::string_view text)
{
    record("showMessageBox", 0);
    ++kit().boxes;
    kit().boxTitle = std::string(title);
    kit().boxText = std::string(text);
}

bool askYesNo(std::string_view title, std::string_view text)
{
    record("askYesNo", 0);
    ++kit().questions;
    kit().boxTitle = std::string(title);
    kit().boxText = std::string(text);
    return kit().answerYes;
}

namespace fake {

void answerQuestions(bool yes)
{
    kit().answerYes = yes;
}

int questionsAsked()
{
    return kit().questions;
}

const BalloonTip* balloonTip(int control)
{
    auto it = kit().tips.find(control);
    return it == kit().tips.end() ? nullptr : &it->second;
}

int messageBoxesShown()
{
    return kit().boxes;
}

std::string lastMessageBoxTitle()
{
    return kit().boxTitle;
}

std::string lastMessageBoxText()
{
    return kit().boxText;
}

}  // namespace fake
}  // namespace tellurix::platform
