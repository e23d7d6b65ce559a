#include "tests/testsupport/recording_surface.h"

#include "ui/control_names.h"

#include <string>
#include <utility>

namespace brzdomat::testing {

namespace {

std::string Quoted(std::string_view text)
{
    return "\"" + std::string { text } + "\"";
}

std::string Call(std::string_view name, std::string_view arguments)
{
    return std::string { name } + "(" + std::string { arguments } + ")";
}

std::string Join(std::string_view a, std::string_view b)
{
    return std::string { a } + ", " + std::string { b };
}

std::string_view YesNo(bool value)
{
    return value ? "Yes" : "No";
}

} // namespace

RecordingSurface::RecordingSurface()
{
    // The main window's design state: the early end and the items about the last run disabled.
    for (const auto& row : MenuItemRows)
        MenuEnabled[row.Item] = EnabledAtStart(row);
    for (CheckBox box : AllControls<CheckBox>())
        Ticks[box] = false;
}

void RecordingSurface::SetLabelText(Label label, std::string_view text)
{
    Log.push_back(Call("SetLabelText", Join(ControlName(label), Quoted(text))));
    Texts[label] = std::string { text };
}

std::string RecordingSurface::LabelText(Label label) const
{
    auto found = Texts.find(label);
    return found == Texts.end() ? std::string {} : found->second;
}

void RecordingSurface::SetLabelColour(Label label, Colour colour)
{
    Log.push_back(Call("SetLabelColour",
        Join(ControlName(label),
            std::to_string(colour.Red) + "," + std::to_string(colour.Green) + ","
                + std::to_string(colour.Blue))));
    Colours[label] = colour;
}

void RecordingSurface::SetMenuItemEnabled(MenuItem item, Enabled enabled)
{
    Log.push_back(
        Call("SetMenuItemEnabled", Join(ControlName(item), YesNo(enabled == Enabled::Yes))));
    MenuEnabled[item] = enabled == Enabled::Yes;
}

void RecordingSurface::SetButtonEnabled(PushButton button, Enabled enabled)
{
    Log.push_back(
        Call("SetButtonEnabled", Join(ControlName(button), YesNo(enabled == Enabled::Yes))));
    ButtonEnabled = enabled == Enabled::Yes;
}

void RecordingSurface::SetChecked(CheckBox box, Checked checked)
{
    Log.push_back(Call("SetChecked", Join(ControlName(box), YesNo(checked == Checked::Yes))));
    Ticks[box] = checked == Checked::Yes;
}

bool RecordingSurface::IsChecked(CheckBox box) const
{
    auto found = Ticks.find(box);
    return found != Ticks.end() && found->second;
}

void RecordingSurface::SetPictureVisible(Picture picture, Visible visible)
{
    Log.push_back(
        Call("SetPictureVisible", Join(ControlName(picture), YesNo(visible == Visible::Yes))));
    PictureVisible = visible == Visible::Yes;
}

void RecordingSurface::ShowPicture(Picture picture, std::shared_ptr<const RgbImage> image)
{
    std::string size = image ? std::to_string(image->Width) + "x" + std::to_string(image->Height)
                             : std::string { "none" };
    Log.push_back(Call("ShowPicture", Join(ControlName(picture), size)));
    PictureShown = std::move(image);
    ++PicturesShownCount;
}

void RecordingSurface::QuestionComesNext(std::optional<QuestionRef> next)
{
    Log.push_back(Call("QuestionComesNext",
        next ? std::to_string(next->Test) + "_" + std::to_string(next->Question) : "none"));
    NamedNext.push_back(next);
}

void RecordingSurface::StartTimer(Timer timer)
{
    Log.push_back(Call("StartTimer", ControlName(timer)));
    if (!TimerRunning)
        ++TimerIntervalsStarted;
    TimerRunning = true;
}

void RecordingSurface::StopTimer(Timer timer)
{
    Log.push_back(Call("StopTimer", ControlName(timer)));
    TimerRunning = false;
}

BoxReply RecordingSurface::NextReply(const BoxRecord& record)
{
    if (!m_Script.empty()) {
        BoxReply reply = std::move(m_Script.front());
        m_Script.pop_front();
        return reply;
    }
    if (DefaultReplier)
        return DefaultReplier(record);
    ++UnscriptedBoxes;
    BoxReply reply;
    reply.Button = record.Buttons == ButtonSet::YesNo ? PressedButton::Cancel : PressedButton::Ok;
    return reply;
}

RecordingSurface::Open RecordingSurface::StayOpen(const BoxReply& reply)
{
    return Open { *this, reply };
}

bool RecordingSurface::Open::await_ready()
{
    if (Surface.BoxesReplyLater)
        return false;
    Surface.HoldOpen(Box);
    return true;
}

void RecordingSurface::Open::await_suspend(std::coroutine_handle<> box)
{
    ++Surface.OpenBoxes;
    Surface.m_Waiting.push_back({ box, Box.WhileOpen });
}

void RecordingSurface::ReplyToBoxesAbove(std::size_t below)
{
    while (m_Waiting.size() > below) {
        // What the box's callback opens lies above it and closes first.
        if (auto whileOpen = std::exchange(m_Waiting.back().WhileOpen, {})) {
            whileOpen();
            continue;
        }
        std::coroutine_handle<> box = m_Waiting.back().Box;
        m_Waiting.pop_back();
        --OpenBoxes;
        box.resume();
    }
}

void RecordingSurface::HoldOpen(const BoxReply& reply)
{
    // Counted down even when the callback throws, so a failed test cannot skew the next one.
    struct OpenBox {
        int& Count;
        explicit OpenBox(int& count)
            : Count(count)
        {
            ++Count;
        }
        ~OpenBox() { --Count; }
    } open { OpenBoxes };
    if (reply.WhileOpen)
        reply.WhileOpen();
}

Reply<PressedButton> RecordingSurface::MessageBox(
    std::string_view text, MessageKind kind, ButtonSet buttons)
{
    Log.push_back(
        Call("MessageBox", Join(Join(Quoted(text), KindName(kind)), ButtonSetName(buttons))));
    BoxRecord record { BoxRecord::Type::Message, std::string { text }, kind, buttons, {}, {} };
    Boxes.push_back(record);
    BoxReply reply = NextReply(record);
    co_await StayOpen(reply);
    co_return reply.Button;
}

Reply<std::string> RecordingSurface::InputBox(
    std::string_view caption, std::string_view prompt, std::string_view defaultText)
{
    Log.push_back(
        Call("InputBox", Join(Join(Quoted(caption), Quoted(prompt)), Quoted(defaultText))));
    BoxRecord record { BoxRecord::Type::Input, std::string { prompt }, MessageKind::Information,
        ButtonSet::Ok, std::string { caption }, std::string { defaultText } };
    Boxes.push_back(record);
    BoxReply reply = NextReply(record);
    co_await StayOpen(reply);
    co_return reply.Typed ? *reply.Typed : record.DefaultText;
}

Reply<> RecordingSurface::ShowModalWindow(Window window)
{
    Log.push_back(Call("ShowModalWindow", ControlName(window)));
    BoxRecord record { BoxRecord::Type::Window, std::string { ControlName(window) },
        MessageKind::Information, ButtonSet::Ok, {}, {} };
    Boxes.push_back(record);
    BoxReply reply = NextReply(record);
    co_await StayOpen(reply);
}

void RecordingSurface::SetMenuItemChecked(MenuItem item, Checked checked)
{
    Log.push_back(
        Call("SetMenuItemChecked", Join(ControlName(item), YesNo(checked == Checked::Yes))));
    MenuChecked[item] = checked == Checked::Yes;
}

Reply<ReviewChoice> RecordingSurface::ShowReview(const RunRecord& record)
{
    Log.push_back(Call("ShowReview", ""));
    Reviews.push_back(record);
    BoxRecord box { BoxRecord::Type::Review, "Přehled testu", MessageKind::Information,
        ButtonSet::Ok, {}, {} };
    Boxes.push_back(box);
    BoxReply reply = NextReply(box);
    co_await StayOpen(reply);
    co_return reply.Choice;
}

void RecordingSurface::CloseWindow(Window window)
{
    Log.push_back(Call("CloseWindow", ControlName(window)));
}

void RecordingSurface::OpenWebAddress(std::string_view address)
{
    Log.push_back(Call("OpenWebAddress", Quoted(address)));
    WebAddresses.emplace_back(address);
}

void RecordingSurface::ReportFailure(std::string_view text)
{
    Log.push_back(Call("ReportFailure", Quoted(text)));
    BoxRecord record { BoxRecord::Type::Failure, std::string { text }, MessageKind::Error,
        ButtonSet::Ok, {}, {} };
    Boxes.push_back(record);
    BoxReply reply = NextReply(record);
    HoldOpen(reply);
}

void RecordingSurface::ReplyButton(PressedButton button, std::function<void()> whileOpen)
{
    BoxReply reply;
    reply.Button = button;
    reply.WhileOpen = std::move(whileOpen);
    Script(std::move(reply));
}

void RecordingSurface::ReplyInput(std::optional<std::string> typed, std::function<void()> whileOpen)
{
    BoxReply reply;
    reply.Typed = std::move(typed);
    reply.WhileOpen = std::move(whileOpen);
    Script(std::move(reply));
}

std::vector<std::string> RecordingSurface::MessageTexts() const
{
    std::vector<std::string> texts;
    for (const auto& box : Boxes) {
        if (box.Kind == BoxRecord::Type::Message)
            texts.push_back(box.Text);
    }
    return texts;
}

} // namespace brzdomat::testing
