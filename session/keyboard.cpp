// The keyboard: keys held and repeated, the Delete latch the game reads on a
// tick, the Tab order, the arrows' moves by the controls' places, and the
// keyboard's focus with its mark.
#include "session/session.h"

namespace morvik {

namespace {

// What the keyboard reaches, in reading order: Tab goes forward through the
// ones in sight, Shift+Tab back.
constexpr auto TabOrder = [] {
    std::array<int, 2 + NumberCount + 4 + 2 + DenominationCount + PlayerCount + 2> order{t::Label1, t::Label1 + 1};
    int n = 2; // "Play" and "Quit"
    for (int k = 0; k < NumberCount + 4 + 2; ++k) // the numbers, Label2 and Label5
        order[n++] = b::Label1 + k;
    for (int i = 0; i < DenominationCount; ++i)
        order[n++] = b::Image1 + i;
    for (int id : {b::List1, b::List1 + 1, b::Label6, b::Label7})
        order[n++] = id;
    return order;
}();

} // namespace

bool Session::key(Key key, bool isDown, bool repeat)
{
    if (key == Key::Other)
        return false;
    // A repeat's release is no release: the key is still held.
    if (isDown || !repeat)
        held[static_cast<std::size_t>(key)] = isDown;
    // A held key that moves the focus moves it again, as desktops' own
    // controls do; one that acts acts once a press.
    const bool moves = key == Key::Tab || key == Key::BackTab || key == Key::Left || key == Key::Right ||
                       key == Key::Up || key == Key::Down;
    if (!isDown || (repeat && !moves))
        return true;
    // A Mac's key labelled delete sends Backspace. Delete is read on the
    // timer's tick, as the game asks for it.
    if (key == Key::Delete || key == Key::Backspace) {
        deleteSinceAsked = true;
        return true;
    }
    keyboardInUse(true);
    return navigate(key);
}

bool Session::navigate(Key key)
{
    if (key == Key::Tab || key == Key::BackTab) {
        const int n = static_cast<int>(TabOrder.size());
        const int step = key == Key::Tab ? 1 : n - 1;
        int at = 0;
        while (at < n && TabOrder[at] != focused)
            ++at;
        // From no focus, Tab reaches the first control and Shift+Tab the last.
        if (at == n)
            at = key == Key::Tab ? n - 1 : 0;
        for (int i = 1; i <= n; ++i) {
            const int next = TabOrder[(at + step * i) % n];
            if (inSight(next)) {
                moveFocus(next);
                break;
            }
        }
        return true;
    }
    if (!inSight(focused))
        return false;
    if (key == Key::Enter || key == Key::Space) {
        click(focused);
        return true;
    }
    const int dx = key == Key::Left ? -1 : key == Key::Right ? 1 : 0;
    const int dy = key == Key::Up ? -1 : key == Key::Down ? 1 : 0;
    if (in(focused, b::List1, PlayerCount)) {
        const Look& list = looks[focused];
        const int count = static_cast<int>(list.entries.size());
        if (dy != 0 && count > 0)
            select(focused,
                   list.selected < 0 ? (dy > 0 ? 0 : count - 1) : std::clamp(list.selected + dy, 0, count - 1));
        return dy != 0;
    }
    // The arrows move through the number grid and along the chips as they
    // are laid out: to the nearest control in that direction.
    const bool number = in(focused, b::Label1, NumberCount);
    if (!number && !in(focused, b::Image1, DenominationCount))
        return false;
    const int first = number ? b::Label1 : b::Image1;
    const int count = number ? NumberCount : DenominationCount;
    auto centre = [](int id) {
        const Box& box = Controls[id].box;
        return Point{2 * box.x + box.width, 2 * box.y + box.height};
    };
    const Point from = centre(focused);
    int best = -1;
    long bestScore = 0;
    for (int id = first; id < first + count; ++id) {
        const Point to = centre(id);
        const int along = (to.x - from.x) * dx + (to.y - from.y) * dy;
        const int across = dx != 0 ? std::abs(to.y - from.y) : std::abs(to.x - from.x);
        const long score = 10'000L * along + across;
        if (along > 0 && (best < 0 || score < bestScore)) {
            best = id;
            bestScore = score;
        }
    }
    if (best >= 0)
        moveFocus(best);
    return true;
}

void Session::keyboardLost()
{
    held.reset();
    deleteSinceAsked = false;
}

bool Session::deletePressed()
{
    const bool pressed =
        held[static_cast<int>(Key::Delete)] || held[static_cast<int>(Key::Backspace)] || deleteSinceAsked;
    deleteSinceAsked = false;
    return pressed;
}

void Session::moveFocus(int control)
{
    if (control == focused)
        return;
    std::swap(focused, control);
    looks[focused].focused = keyboard;
    if (control >= 0) {
        looks[control].focused = false;
        display.redraw(control);
    }
    display.redraw(focused);
}

void Session::keyboardInUse(bool inUse)
{
    if (inUse == keyboard)
        return;
    keyboard = inUse;
    if (focused >= 0) {
        looks[focused].focused = inUse;
        display.redraw(focused);
    }
}

} // namespace morvik
