#include "testrun/text_to_int.h"
#include "tests/testsupport/recording_surface.h"
#include "ui/error_path.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace brzdomat {
namespace {

using testing::BoxRecord;
using testing::RecordingSurface;

TEST(ErrorPath, AppendsAFullStopOnlyAfterACharacterAboveIt)
{
    EXPECT_EQ(
        FailureText("'abc' is not a valid integer value"), "'abc' is not a valid integer value.");
    EXPECT_EQ(FailureText("Done."), "Done.");
    EXPECT_EQ(FailureText("ends in a blank "), "ends in a blank ");
    EXPECT_EQ(FailureText("ends in a comma,"), "ends in a comma,");
    EXPECT_EQ(FailureText("ends in a digit 7"), "ends in a digit 7.");
    EXPECT_EQ(FailureText("ends in a slash/"), "ends in a slash/.");
    EXPECT_EQ(FailureText("žluť"), "žluť.");
    EXPECT_EQ(FailureText(""), "");
}

TEST(ErrorPath, AbandonsTheHandlerWhereItFailedAndKeepsWhatItChanged)
{
    RecordingSurface surface;
    bool ranOn = false;
    RunHandler(surface, [&] {
        surface.SetLabelText(Label::Label17, "0");
        surface.SetLabelText(Label::Label6, std::to_string(TextToInt("")));
        ranOn = true;
    });
    EXPECT_FALSE(ranOn);
    EXPECT_EQ(surface.LabelText(Label::Label17), "0");
    ASSERT_EQ(surface.Boxes.size(), 1u);
    EXPECT_EQ(surface.Boxes[0].Kind, BoxRecord::Type::Failure);
    EXPECT_EQ(surface.Boxes[0].Text, "'' is not a valid integer value.");

    // The program goes on: the next handler runs normally.
    RunHandler(surface, [&] { surface.SetLabelText(Label::Label17, "1"); });
    EXPECT_EQ(surface.LabelText(Label::Label17), "1");
    EXPECT_EQ(surface.Boxes.size(), 1u);
}

TEST(ErrorPath, ReportsFailuresOfEveryKindAndSwallowsAnAbandonedHandler)
{
    RecordingSurface surface;
    RunHandler(surface, [] { throw std::out_of_range("No answer key entry"); });
    RunHandler(surface, [] { throw std::bad_alloc(); });
    RunHandler(surface, [] { throw 42; });
    RunHandler(surface, [] { throw HandlerAbandoned {}; });
    ASSERT_EQ(surface.Boxes.size(), 3u);
    EXPECT_EQ(surface.Boxes[0].Text, "No answer key entry.");
    EXPECT_EQ(surface.Boxes[1].Text, "Out of memory.");
    EXPECT_EQ(surface.Boxes[2].Text, "Unknown failure.");
}

TEST(ErrorPath, AFailingTickInsideABoxIsReportedThereAndTheOuterHandlerGoesOn)
{
    RecordingSurface surface;
    bool outerFinished = false;
    surface.ReplyButton(PressedButton::Ok, [&] { RunHandler(surface, [] { TextToInt("x"); }); });
    RunHandler(surface, [&] {
        surface.ShowError("spatně");
        outerFinished = true;
    });
    EXPECT_TRUE(outerFinished);
    ASSERT_EQ(surface.Boxes.size(), 2u);
    EXPECT_EQ(surface.Boxes[1].Text, "'x' is not a valid integer value.");
}

} // namespace
} // namespace brzdomat
