// Morvik Roulette in a web page: two players, one table, one mouse or screen.
// The clock and the wheel's generator are made here, for the page's session.
#include "game/wheel.h"
#include "web/page.h"

int main()
{
    static morvik::LocalClock clock;
    static morvik::WheelRandom random;
    morvik::startPage({clock, random});
}
