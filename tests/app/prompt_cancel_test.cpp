// A Ctrl-C at the prompt that comes before the line editor has begun to wait for a key (while the
// prompt is drawn) still cancels the read, instead of being missed until the next key.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "app/system/system.h"
#include "app/terminal/interrupt_keys.h"

namespace {

// Standard input replaced by a pipe holding `text`, for as long as the object lives.
class PipedInput {
public:
    explicit PipedInput(const std::string& text) {
        int ends[2];
        EXPECT_EQ(::pipe(ends), 0);
        EXPECT_EQ(::write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(ends[1]);
        saved_ = ::dup(STDIN_FILENO);
        ::dup2(ends[0], STDIN_FILENO);
        ::close(ends[0]);
    }
    ~PipedInput() {
        ::dup2(saved_, STDIN_FILENO);
        ::close(saved_);
    }

private:
    int saved_ = -1;
};

TEST(PromptCancel, ACtrlCBeforeTheWaitEndsTheReadAndAFreshPromptReadsOn) {
    kafcad::StartLineHistory();
    kafcad::InterruptKeys interrupts;
    PipedInput input("(+ 1 2)\n(+ 3 4)\n");

    interrupts.Running(false);
    std::raise(SIGINT);  // as if pressed while the prompt was drawn
    std::string line = "untouched";
    EXPECT_FALSE(kafcad::ReadPromptLine("Command: ", line, &kafcad::InterruptKeys::CancelPending));
    EXPECT_TRUE(interrupts.TakeCancelled());

    // Nothing typed was taken by the cancelled read: the next prompt reads it.
    interrupts.Running(false);
    ASSERT_TRUE(kafcad::ReadPromptLine("Command: ", line, &kafcad::InterruptKeys::CancelPending));
    EXPECT_EQ(line, "(+ 1 2)");
    EXPECT_FALSE(interrupts.TakeCancelled());
}

}  // namespace

#endif
