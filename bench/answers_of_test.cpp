// Prints the correct answers of one test from the program's own key, a line a question ("B",
// "AD"), for the benchmarks that answer through the window: a wrong answer would put the
// "spatně" box between the confirmation and the next picture.
//
// Usage: brzdomat_bench_answers TEST

#include "bank/answer_key.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    int test = argc > 1 ? std::atoi(argv[1]) : 0;
    if (test < 1 || test > brzdomat::TestCount) {
        std::fprintf(stderr, "usage: %s TEST (1 to %d)\n", argv[0], brzdomat::TestCount);
        return 2;
    }
    brzdomat::AnswerKey key;
    brzdomat::LoadAnswerKey(key);
    for (int question = 1; question <= brzdomat::QuestionsPerTest; ++question) {
        for (auto option : brzdomat::AllOptions)
            if (key.Mark({ test, question }, option) == brzdomat::AnswerMark::X)
                std::putchar("ABCD"[static_cast<int>(option)]);
        std::putchar('\n');
    }
    return 0;
}
