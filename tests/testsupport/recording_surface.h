#pragma once

// A UiSurface without a screen. It logs every call in order, keeps what a screen would show as
// state the tests read, and answers every modal call from a script the test gives. A scripted
// reply can carry a callback that runs while the box is "open", as the real nested event loop
// would run timer ticks there. Boxes reply at once, as on a desktop, or later, as in a page.

#include "ui/run_record.h"
#include "ui/ui_surface.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brzdomat::testing {

// What one modal call looked like.
struct BoxRecord {
    enum class Type { Message, Input, Window, Failure, Review };
    Type Kind = Type::Message;
    std::string Text; // message text, input prompt, failure text or window name
    MessageKind Message = MessageKind::Error;
    ButtonSet Buttons = ButtonSet::Ok;
    std::string Caption; // input box only
    std::string DefaultText; // input box only
};

// A scripted answer to the next modal call.
struct BoxReply {
    // For a message box: the button pressed (Cancel also stands for the title-bar close).
    PressedButton Button = PressedButton::Ok;
    // For an input box: the typed text, accepted with OK; no value means Cancel, Escape or
    // closing the box, which all give the default text back.
    std::optional<std::string> Typed;
    // For the review window: how the student leaves it.
    ReviewChoice Choice = ReviewChoice::Close;
    // Runs while the box is open, before it returns.
    std::function<void()> WhileOpen;
};

class RecordingSurface : public UiSurface {
public:
    RecordingSurface();

    void SetLabelText(Label, std::string_view text) override;
    std::string LabelText(Label) const override;
    void SetLabelColour(Label, Colour) override;
    void SetMenuItemEnabled(MenuItem, Enabled) override;
    void SetMenuItemChecked(MenuItem, Checked) override;
    void SetButtonEnabled(PushButton, Enabled) override;
    void SetChecked(CheckBox, Checked) override;
    bool IsChecked(CheckBox) const override;
    void SetPictureVisible(Picture, Visible) override;
    void ShowPicture(Picture, std::shared_ptr<const RgbImage>) override;
    void QuestionComesNext(std::optional<QuestionRef>) override;
    void StartTimer(Timer) override;
    void StopTimer(Timer) override;
    Reply<PressedButton> MessageBox(std::string_view text, MessageKind, ButtonSet) override;
    Reply<std::string> InputBox(
        std::string_view caption, std::string_view prompt, std::string_view defaultText) override;
    Reply<> ShowModalWindow(Window) override;
    void CloseWindow(Window) override;
    Reply<ReviewChoice> ShowReview(const RunRecord&) override;
    void OpenWebAddress(std::string_view address) override;
    void ReportFailure(std::string_view text) override;
    int ScreenBitsPerPixel() const override { return ScreenBits; }

    // As in a page: a modal call returns with the box still open, and the box replies once
    // ReplyToBoxesAbove gets to it, after its callback; the newest box replies first.
    bool BoxesReplyLater = false;
    std::size_t BoxesWaiting() const { return m_Waiting.size(); }
    // Replies to the boxes that wait, down to the given count of them.
    void ReplyToBoxesAbove(std::size_t below);

    // Script of replies, taken in order by the modal calls.
    void Script(BoxReply reply) { m_Script.push_back(std::move(reply)); }
    void ReplyButton(PressedButton button, std::function<void()> whileOpen = {});
    void ReplyInput(std::optional<std::string> typed, std::function<void()> whileOpen = {});
    // Answers modal calls when the script is empty. Without it such a call is answered with OK
    // (Cancel for Yes/No boxes, the default text for input boxes) and counted in UnscriptedBoxes.
    std::function<BoxReply(const BoxRecord&)> DefaultReplier;

    // What the screen shows.
    std::map<Label, std::string> Texts;
    std::map<Label, Colour> Colours;
    std::map<MenuItem, bool> MenuEnabled;
    std::map<MenuItem, bool> MenuChecked;
    // Every run the review window was opened on, in order.
    std::vector<RunRecord> Reviews;
    bool ButtonEnabled = false;
    std::map<CheckBox, bool> Ticks;
    bool PictureVisible = true;
    std::shared_ptr<const RgbImage> PictureShown;
    int PicturesShownCount = 0;
    // Every question named as the next one, in order.
    std::vector<std::optional<QuestionRef>> NamedNext;
    bool TimerRunning = false;
    // Bumped by every start of a stopped timer: a fresh interval begins.
    int TimerIntervalsStarted = 0;
    std::vector<std::string> WebAddresses;
    int ScreenBits = 24;

    // Every call in order, one line each, e.g. SetLabelText(Label2, "7").
    std::vector<std::string> Log;
    // Every modal call in order, and how many are open right now.
    std::vector<BoxRecord> Boxes;
    int OpenBoxes = 0;
    int UnscriptedBoxes = 0;

    // The texts of the message boxes shown so far, in order.
    std::vector<std::string> MessageTexts() const;
    void ClearLog()
    {
        Log.clear();
        Boxes.clear();
    }

private:
    struct Open {
        RecordingSurface& Surface;
        const BoxReply& Box;
        bool await_ready();
        void await_suspend(std::coroutine_handle<>);
        void await_resume() { }
    };
    struct WaitingBox {
        std::coroutine_handle<> Box;
        std::function<void()> WhileOpen;
    };

    BoxReply NextReply(const BoxRecord&);
    Open StayOpen(const BoxReply&);
    void HoldOpen(const BoxReply&);
    std::deque<BoxReply> m_Script;
    std::vector<WaitingBox> m_Waiting;
};

} // namespace brzdomat::testing
