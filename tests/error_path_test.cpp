#include "testrun/text_to_int.h"
#include "tests/testsupport/recording_surface.h"
#include "ui/error_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <stdexcept>

namespace {
// Allocations still to be refused, for running a piece of code as if memory had run out.
int RefusedAllocations = 0;
} // namespace

void* operator new(std::size_t size)
{
    if (RefusedAllocations > 0) {
        --RefusedAllocations;
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

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

// A surface whose box cannot be shown with any text but the fixed one, as when memory is short.
class ShortOfMemorySurface : public RecordingSurface {
public:
    void ReportFailure(std::string_view text) override
    {
        if (text != "Out of memory.")
            throw std::bad_alloc();
        RecordingSurface::ReportFailure(text);
    }
};

// Under low memory the report never throws out of the handler, which would end the program: the
// text is built without the heap when it cannot be built on it, and when no box with it can be
// shown, the fixed text is.
TEST(ErrorPath, ReportsWhatItCanWhenMemoryRunsOut)
{
    RecordingSurface surface;
    std::string message = "'" + std::string(40, '9') + "' is not a valid integer value";
    RunHandler(surface, [&message] {
        std::runtime_error error(message);
        RefusedAllocations = 1; // the copy of the message
        throw error;
    });
    RefusedAllocations = 0;
    ASSERT_EQ(surface.Boxes.size(), 1u);
    EXPECT_EQ(surface.Boxes[0].Text, message + ".");

    ShortOfMemorySurface shortOfMemory;
    RunHandler(shortOfMemory, [] { throw std::out_of_range("No answer key entry"); });
    ASSERT_EQ(shortOfMemory.Boxes.size(), 1u);
    EXPECT_EQ(shortOfMemory.Boxes[0].Text, "Out of memory.");

    // With no memory at all nothing can be shown, and the program goes on.
    RunHandler(surface, [] {
        RefusedAllocations = 1'000'000;
        throw std::runtime_error(std::string(100, 'x'));
    });
    RefusedAllocations = 0;
    EXPECT_EQ(surface.Boxes.size(), 1u);
    RunHandler(surface, [] { throw std::out_of_range("after"); });
    ASSERT_EQ(surface.Boxes.size(), 2u);
    EXPECT_EQ(surface.Boxes[1].Text, "after.");
}

TEST(ErrorPath, AFailingTickInsideABoxIsReportedThereAndTheOuterHandlerGoesOn)
{
    RecordingSurface surface;
    bool outerFinished = false;
    surface.ReplyButton(PressedButton::Ok, [&] { RunHandler(surface, [] { TextToInt("x"); }); });
    RunHandler(surface, [&] {
        surface.MessageBox("spatně", MessageKind::Error, ButtonSet::Ok).Get();
        outerFinished = true;
    });
    EXPECT_TRUE(outerFinished);
    ASSERT_EQ(surface.Boxes.size(), 2u);
    EXPECT_EQ(surface.Boxes[1].Text, "'x' is not a valid integer value.");
}

} // namespace
} // namespace brzdomat
