// libFuzzer target: bytes become table events (decode in model.h), played
// against the game with every check of the random-play tests after each one.
#include "model.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto events = morvik::play::decode({data, size});
    if (auto failure = morvik::play::play(events)) {
        std::fprintf(stderr, "event %zu: %s\n%s", failure->event, failure->message.c_str(),
            morvik::play::describe(std::span(events).first(failure->event + 1)).c_str());
        std::abort();
    }
    return 0;
}
