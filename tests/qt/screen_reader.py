#!/usr/bin/python3
# A round for both players as a screen reader plays the program (the command
# given), through the accessibility bus (AT-SPI) alone: controls found by role
# and name in the tree from the application, pressed by their actions, their
# states read, an entry selected and taken back with Delete, changes heard.
import subprocess, sys, time  # noqa: E401
import os, pyatspi  # noqa: E401
from gi.repository import GLib

# On a Czech system, what the same controls are called.
CZECH = {'Play': 'Hrát', 'Chip 50': 'Žeton 50', 'Chip 20': 'Žeton 20', 'Chip 5': 'Žeton 5', 'Red': 'Červená',
         'Black': 'Černá', 'Next': 'Další', 'Player 1 bets': 'Sázky hráče 1', 'Player 2 bets': 'Sázky hráče 2',
         'Red-50': 'Červená-50', 'Black-5': 'Černá-5', '1 chip': '1 žeton', 'Drawn number': 'Tažené číslo',
         'Player 2': 'Hráč 2'}
said = (lambda english: CZECH.get(english, english)) if os.environ.get('LANGUAGE') == 'cs' else (lambda english: english)

heard = []
pyatspi.Registry.registerEventListener(lambda e: heard.append(f'{e.source.name} {e.type}'), 'object:state-changed',
                                       *(f'object:property-change:accessible-{p}' for p in ['name', 'description', 'value']))
game = subprocess.Popen(sys.argv[1:])


def wait(what, found, patience=60):
    end = time.monotonic() + patience
    while not (value := found()) and time.monotonic() < end:
        GLib.MainContext.default().iteration(False)  # the events heard meanwhile
        time.sleep(0.02)
    print(f'{"ok" if value else "not ok"} - {what}', flush=True)
    return value or sys.exit(game.kill() or 1)


def showing(role, name):
    app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == 'Morvik Roulette'), None)
    return app and pyatspi.findDescendant(app, lambda c: c.getRole() == role and c.name == said(name)
                                          and c.getState().contains(pyatspi.STATE_SHOWING))


def press(*names):
    for name in names:
        action = wait(f'{name} shows', lambda: showing(pyatspi.ROLE_PUSH_BUTTON, name)).queryAction()
        wait(f'{name} pressed by its action', lambda: action.getName(0) == 'Press' and action.doAction(0))


def entries(bets, *names):
    return list(wait(f'{bets}: {" ".join(names)}', lambda: (b := showing(pyatspi.ROLE_LIST, bets))
                     and [e.name for e in b] == [said(n) for n in names] and b))


press('Play', 'Chip 50', '17', 'Red')
chip = showing(pyatspi.ROLE_PUSH_BUTTON, 'Chip 50')
wait('the 50 in hand, pressed; the 20 not', lambda: chip.getState().contains(pyatspi.STATE_PRESSED)
     and not showing(pyatspi.ROLE_PUSH_BUTTON, 'Chip 20').getState().contains(pyatspi.STATE_PRESSED))
first, second = entries('Player 1 bets', '17-50', 'Red-50')
first.queryAction().doAction(0)
wait('17-50 selected alone', lambda: first.getState().contains(pyatspi.STATE_SELECTED)
     and not second.getState().contains(pyatspi.STATE_SELECTED) and second.getIndexInParent() == 1)
subprocess.run(['xdotool', 'key', 'Delete', 'Tab'])  # the keys go to the window that shows
entries('Player 1 bets', 'Red-50')
wait('one chip of 50 left, and Tab on to Next', lambda: chip.description == said('1 chip')
     and showing(pyatspi.ROLE_PUSH_BUTTON, 'Next').getState().contains(pyatspi.STATE_FOCUSED))
press('Next', 'Chip 5', 'Black')  # Player 2's turn
entries('Player 2 bets', 'Black-5')
press('Next')  # the spin
wait('Player 1 begins the next round', lambda: showing(pyatspi.ROLE_LIST, 'Player 1 bets'))
wait('the drawn number read, and heard once', lambda: heard.count(said('Drawn number') + ' object:property-change:accessible-value')
     == 1 and 0 <= showing(pyatspi.ROLE_LABEL, 'Drawn number').queryValue().currentValue <= 36)
for name, told in [('Chip 50', 'property-change:accessible-description'), ('17-50', 'state-changed:selected'),
                   ('Next', 'state-changed:focused'), ('Player 2', 'property-change:accessible-name')]:
    wait(f'heard: {name} {told}', lambda: f'{said(name)} object:{told}' in heard)
game.kill()
