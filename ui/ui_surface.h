#pragma once

// The one door between the program's logic and the screen. The test run and the question bank
// name a control of the main window and ask for an operation; they never see a widget. The Qt
// implementation puts it on screen, the recording implementation in the tests keeps it as state.
//
// Every operation runs on the user-interface thread. The modal ones (message box, input box,
// modal window) reply once they close (see Reply), and timer ticks are still delivered while
// they are open, so a handler that opened a box may find the world changed when the reply
// comes.

#include "bank/question_ref.h"
#include "bank/rgb_image.h"
#include "ui/controls.h"
#include "ui/waiting.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brzdomat {

enum class Enabled : bool { No = false, Yes = true };
enum class Checked : bool { No = false, Yes = true };
enum class Visible : bool { No = false, Yes = true };

struct Colour {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    friend constexpr bool operator==(Colour, Colour) = default;
};

inline constexpr Colour Green { 0, 128, 0 };
inline constexpr Colour Blue { 0, 0, 255 };
inline constexpr Colour Red { 255, 0, 0 };
inline constexpr Colour Black { 0, 0, 0 };

// The kind decides the caption ("Error", "Information", "Confirm") and the system icon.
enum class MessageKind { Error, Information, Confirmation };
enum class ButtonSet { Ok, YesNo };
// Closing a box by its title bar gives Cancel, whatever buttons it has.
enum class PressedButton { Yes, No, Ok, Cancel };
// How the student left the review of the last run.
enum class ReviewChoice { Close, PractiseMistakes };

struct RunRecord;

class UiSurface {
public:
    virtual ~UiSurface() = default;

    // The status labels are the running test's counters: reading back must give exactly what
    // was written, byte for byte.
    virtual void SetLabelText(Label, std::string_view text) = 0;
    virtual std::string LabelText(Label) const = 0;
    virtual void SetLabelColour(Label, Colour) = 0;

    // Disabling an item that opens a submenu makes the whole submenu unreachable.
    virtual void SetMenuItemEnabled(MenuItem, Enabled) = 0;
    // Ticks or unticks a check item of the menu; choosing the item does not tick it by itself.
    virtual void SetMenuItemChecked(MenuItem, Checked) = 0;
    virtual void SetButtonEnabled(PushButton, Enabled) = 0;

    virtual void SetChecked(CheckBox, Checked) = 0;
    virtual bool IsChecked(CheckBox) const = 0;

    // Hiding the picture control keeps its picture.
    virtual void SetPictureVisible(Picture, Visible) = 0;
    // Replaces the picture on display. Callers hand over only fully decoded pictures, so a
    // failed load never reaches the control and the previous picture stays.
    virtual void ShowPicture(Picture, std::shared_ptr<const RgbImage>) = 0;
    // Once a question is on screen: the question the logic shows after it if the user answers,
    // or none when it is the run's last. Only a hint, since the run may still end early; a
    // surface whose pictures are slow to come starts getting that picture now.
    virtual void QuestionComesNext(std::optional<QuestionRef>) { }

    // Starting a running timer changes nothing: its interval is not restarted.
    virtual void StartTimer(Timer) = 0;
    virtual void StopTimer(Timer) = 0;

    // Modal. Replies when the user pressed a button or closed the box.
    virtual Reply<PressedButton> MessageBox(std::string_view text, MessageKind, ButtonSet) = 0;
    // Modal. Replies the edited text on OK and the default text on Cancel, Escape or close.
    virtual Reply<std::string> InputBox(
        std::string_view caption, std::string_view prompt, std::string_view defaultText)
        = 0;
    // Modal. Shows a new window from its design and replies when it closes.
    virtual Reply<> ShowModalWindow(Window) = 0;
    virtual void CloseWindow(Window) = 0;
    // Modal. Shows the review of the finished run and replies how the student left it.
    virtual Reply<ReviewChoice> ShowReview(const RunRecord&) = 0;
    // Does not wait for the browser and ignores whether one started.
    virtual void OpenWebAddress(std::string_view address) = 0;

    // The default error path's box: the application title as caption, stop icon, OK. The text
    // comes already finished (see FailureText). Nothing follows it, so nothing waits for it.
    virtual void ReportFailure(std::string_view text) = 0;

    // Bits per pixel of the screen the pictures are shown on. Screens of 8 bits or fewer get
    // pictures quantised to a palette.
    virtual int ScreenBitsPerPixel() const { return 24; }

    Reply<> ShowError(std::string_view text)
    {
        co_await MessageBox(text, MessageKind::Error, ButtonSet::Ok);
    }
};

} // namespace brzdomat
