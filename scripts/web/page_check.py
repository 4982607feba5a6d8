"""The page around the picture, checked by browser_check.py before its own checks: the picture's
size and shape on common screens and phones (page screenshots of each in SHOTS_DIR), mouse and
touch positions on the scaled picture, the favicon, manifest and icons, and, served by the score
service, a game played by touch alone on a phone: weapon, pause, resume, leave, and a name typed
through the page's input element into the local table and onto the world page."""
import json
import os
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

# Screens, each page loaded once in the first of its sizes and then resized (a window dragged, a
# phone turned): (name, width, height, device pixel ratio, whole scale expected or None).
DESKTOP = [('1920x1080', 1920, 1080, 1, None), ('1366x768', 1366, 768, 1, 1), ('1280x600', 1280, 600, 1, 1)]
PHONE = [('phone_portrait', 412, 915, 2.625, None), ('phone_landscape', 915, 412, 2.625, None)]

# Main menu items in picture pixels (layout/MenuLayout.h): left, top, right, bottom.
MENU_ITEMS = [(60, 170, 284, 212), (124, 229, 284, 278), (62, 289, 284, 329),
              (188, 349, 284, 398), (23, 410, 284, 452), (201, 470, 284, 509)]
NAME_FIELD = (296, 300, 624, 330)
YES_BUTTON = (316, 360)  # the centre of a question's Yes and of the name entry's Ok
SCORE_BOX = (10, 200, 96, 38)  # x, y, width, height of the score's digits on the left panel
STEP_LIMIT_S = 20


def picture_rect(page):
    return page.js('var r = document.getElementById("canvas").getBoundingClientRect();'
                   'return {x: r.left, y: r.top, w: r.width, h: r.height, vw: innerWidth, vh: innerHeight,'
                   ' ratio: devicePixelRatio, sharp: document.body.classList.contains("sharp"),'
                   ' rendering: getComputedStyle(document.getElementById("canvas")).imageRendering,'
                   ' touch: document.body.classList.contains("touch"),'
                   ' store: [canvas.width, canvas.height]};')


def to_page(rect, x, y):
    """A picture point in the page's CSS pixels."""
    return rect['x'] + x * rect['w'] / 800, rect['y'] + y * rect['h'] / 600


def touch(page, kind, points):
    page.driver.execute_cdp_cmd('Input.dispatchTouchEvent', {
        'type': kind, 'touchPoints': [{'x': x, 'y': y} for x, y in points]})


def tap(page, x, y):
    touch(page, 'touchStart', [(x, y)])
    touch(page, 'touchEnd', [])
    page.wait_frames(6)


def tap_picture(page, x, y):
    tap(page, *to_page(picture_rect(page), x, y))


def tap_button(page, element_id):
    r = page.js('var r = document.getElementById(arguments[0]).getBoundingClientRect();'
                'return [r.left + r.width / 2, r.top + r.height / 2];', element_id)
    tap(page, r[0], r[1])


def wait_for(page, what, script, *args, limit=STEP_LIMIT_S):
    end = time.monotonic() + limit
    while True:
        value = page.js(script, *args)
        if value or time.monotonic() > end:
            return value
        page.wait_frames(2)


def check_screens(t, url, refs, shots):
    """Every screen size: the picture's shape, size, sharpness and position mapping."""
    ref = lambda name: os.path.join(refs, name + '.png')
    for screens in (DESKTOP, PHONE):
        phone = screens is PHONE
        first = screens[0]
        page = (t.Page(url, shots, phone=first[1:4]) if phone else t.Page(url, shots, viewport=first[1:3]))
        try:
            page.load()
            for name, width, height, ratio, whole in screens:
                if (name, width, height, ratio, whole) != first:
                    page.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
                        'width': width, 'height': height, 'deviceScaleFactor': ratio, 'mobile': phone,
                        'screenOrientation': {'type': 'landscapePrimary' if width > height else 'portraitPrimary',
                                              'angle': 90 if width > height else 0}})
                    page.wait_frames(8)
                check_screen(t, page, name, whole, ref)
        finally:
            page.quit()


def check_screen(t, page, name, whole, ref):
    r = picture_rect(page)
    page.driver.save_screenshot(os.path.join(page.shots, 'page_%s.png' % name))
    aspect = r['w'] / r['h']
    t.check(r['store'] == [800, 600] and abs(aspect - 4 / 3) <= 4 / 3 * 0.01,
            '%s: the picture is %.1f x %.1f CSS pixels, aspect %.4f, its canvas 800 x 600'
            % (name, r['w'], r['h'], aspect))
    inside = (r['x'] >= -0.5 and r['y'] >= -0.5 and r['x'] + r['w'] <= r['vw'] + 0.5
              and r['y'] + r['h'] <= r['vh'] + 0.5)
    fills = max(r['w'] / r['vw'], r['h'] / r['vh'])
    t.check(inside and fills >= 0.6, '%s: the picture lies within the page and fills %.0f %% of its longer side'
            % (name, 100 * fills))
    scale = r['w'] * r['ratio'] / 800
    if r['sharp']:
        t.check(abs(scale - round(scale)) < 0.01 and r['rendering'] == 'pixelated',
                '%s: a whole scale (%.3f device pixels a pixel) is drawn with nearest pixels' % (name, scale))
    if whole is not None:
        t.check(r['sharp'] and round(scale) == whole, '%s: the picture is sharp at %d x where that fits' % (name, whole))

    # Positions map back to the picture: a point just inside the corner of one menu item selects
    # it, one just inside the next item's corner selects that. The browser reports whole CSS
    # pixels, up to two picture pixels on a phone, so the points lie four pixels inside.
    menu_refs = [ref('03_main_menu_item_%d' % i) for i in range(6)]
    for item, (px, py) in ((4, (280, 448)), (5, (205, 474)), (4, (280, 448))):
        x, y = to_page(r, px, py)
        if r['touch']:
            # A finger put down on the open sea and slid there: the menus follow it.
            touch(page, 'touchStart', [to_page(r, 600, 560)])
            page.wait_frames(4)
            touch(page, 'touchMove', [(x, y)])
            page.wait_frames(6)
            shot = page.canvas('page_%s_pointer' % name)
            touch(page, 'touchEnd', [])
        else:
            page.driver.execute_cdp_cmd('Input.dispatchMouseEvent', {'type': 'mouseMoved', 'x': x, 'y': y})
            page.wait_frames(6)
            shot = page.canvas('page_%s_pointer' % name)
        best, diff = t.closest(shot, menu_refs)
        t.check(diff == 0 and best.endswith('_%d.png' % item), '%s: the %s at picture (%d, %d) selects menu item %d (%s)'
                % (name, 'finger' if r['touch'] else 'pointer', px, py, item, os.path.basename(best)))
    if r['touch']:
        left, top, right, bottom = MENU_ITEMS[2]
        tap_picture(page, (left + right) / 2, (top + bottom) / 2)
        shot = page.canvas('page_%s_high_scores' % name)
        diff = t.differing_pixels(shot, ref('07_high_scores'))
        t.check(diff == 0, '%s: a tap on "High Scores" opens the high-score page (%d pixels differ)' % (name, diff))
        page.js('Module.pageKeys.push(27);')  # back to the main menu
        page.wait_frames(8)


def check_files(t, url):
    status, body = t.get(url)
    t.check(status == 200 and '<meta name="description"' in body and 'rel="manifest"' in body,
            'the page has a description and names its manifest')
    status, _ = t.get(url + 'favicon.ico')
    t.check(status == 200, 'the favicon is served')
    status, body = t.get(url + 'manifest.json')
    icons = json.loads(body).get('icons', []) if status == 200 else []
    missing = [i['src'] for i in icons if t.get(url + i['src'])[0] != 200]
    sizes = {i['sizes'] for i in icons}
    t.check(status == 200 and not missing and {'192x192', '512x512'} <= sizes,
            'the manifest names icons of 192 and 512 pixels, all served (%s)' % ', '.join(i['src'] for i in icons))


# The names of the local table in the page's storage (the settings file: three flags, the
# minimise key, the player's name, then ten entries of a name and a 4-byte score; each name a
# length byte and its characters with every bit inverted).
TABLE_NAMES = """
const done = arguments[arguments.length - 1];
const open = indexedDB.open('/saved');
open.onerror = () => done(null);
open.onsuccess = () => {
  const get = open.result.transaction('FILE_DATA').objectStore('FILE_DATA').get('/saved/Config.cfg');
  get.onerror = () => done(null);
  get.onsuccess = () => {
    if (!get.result || !get.result.contents) return done(null);
    const bytes = new Uint8Array(get.result.contents);
    const text = (at) => String.fromCharCode(...bytes.slice(at + 1, at + 1 + bytes[at]).map((b) => 255 - b));
    let pos = 4;
    pos += 1 + bytes[pos];
    const names = [];
    for (let i = 0; i < 10 && pos < bytes.length; ++i) {
      names.push(text(pos));
      pos += 1 + bytes[pos] + 4;
    }
    done(names);
  };
};
"""


def check_touch_play(t, url, refs, shots):
    """A phone with touch only: a game started, its weapon changed, paused, resumed and left by
    the page's buttons; then a game that enters the table, the name typed through the input."""
    ref = lambda name: os.path.join(refs, name + '.png')
    menu_refs = [ref('03_main_menu_item_%d' % i) for i in range(6)]
    page = t.Page(url, shots, phone=(412, 915, 2.625))
    try:
        page.load()
        # The first pass leaves the settings file in the storage; every score of its table goes
        # to 0, so any point enters it.
        end = time.monotonic() + STEP_LIMIT_S
        while page.driver.execute_async_script(t.LOW_TABLE) != '' and time.monotonic() < end:
            page.wait_frames(8)
        page.load()
        t.check(page.js('return document.body.classList.contains("touch") && '
                        'getComputedStyle(document.getElementById("padR")).display !== "none";'),
                'a phone shows the touch buttons')
        left, top, right, bottom = MENU_ITEMS[0]
        tap_picture(page, (left + right) / 2, (top + bottom) / 2)
        playing = wait_for(page, 'play', 'return !document.querySelector("#padL button").disabled;')
        t.check(playing, 'a tap on "New Game" starts a game, and the weapon button is enabled')
        page.wait_frames(200)  # the level's intro
        no_points = t.rgb_rows(page.canvas('touch_01_game'), *SCORE_BOX)

        tap_button(page, 'padL')
        taken = wait_for(page, 'weapon', 'return Module.pageKeys.length === 0;')
        t.check(taken, 'the weapon button\'s key is taken by the game')

        tap_button(page, 'pause')
        paused = wait_for(page, 'pause', 'return document.getElementById("pause").textContent === "Resume";')
        shot = page.canvas('touch_02_paused')
        t.check(paused, 'the pause button pauses the game (the button offers "Resume")')
        page.wait_frames(16)
        still = t.differing_pixels(shot, page.canvas('touch_02_paused_later'))
        t.check(still == 0, 'the paused picture stands still (%d pixels changed)' % still)
        tap_button(page, 'pause')
        resumed = wait_for(page, 'resume', 'return document.getElementById("pause").textContent === "Pause";')
        page.wait_frames(16)
        moving = t.differing_pixels(page.canvas('touch_03_resumed'), shot)
        t.check(resumed and moving > 0, 'the same button resumes it (%d pixels changed)' % moving)

        # Points: a finger held on the sea fires, sliding it steers; the game goes on until the
        # score box shows points, so that the game's end brings the name entry.
        rect = picture_rect(page)
        x0, y = to_page(rect, 400, 450)
        touch(page, 'touchStart', [(x0, y)])
        end = time.monotonic() + 90
        step = 0
        scored = False
        while not scored and time.monotonic() < end:
            for i in range(12):
                dx = (i if step % 2 == 0 else 12 - i) * rect['w'] / 40 - rect['w'] * 0.15
                touch(page, 'touchMove', [(x0 + dx, y)])
                page.wait_frames(4)
            step += 1
            scored = t.rgb_rows(page.canvas('touch_04_played'), *SCORE_BOX) != no_points
        touch(page, 'touchEnd', [])
        t.check(scored, 'a finger on the sea steers and fires until the game scores')
        tap_button(page, 'leave')
        page.wait_frames(8)
        shot = page.canvas('touch_05_quit_question')
        tap_picture(page, *YES_BUTTON)
        naming = wait_for(page, 'name entry', 'return document.body.classList.contains("naming");')
        t.check(naming, 'the leave button and a tap on "Yes" end the game, and the name entry comes up')

        field = page.js('var f = document.getElementById("name").getBoundingClientRect();'
                        'return [f.left, f.top, f.right, f.bottom];')
        rect = picture_rect(page)
        want = [to_page(rect, NAME_FIELD[0], NAME_FIELD[1]), to_page(rect, NAME_FIELD[2], NAME_FIELD[3])]
        want = [want[0][0], want[0][1], want[1][0], want[1][1]]
        t.check(all(abs(a - b) <= 1 for a, b in zip(field, want)),
                'the page\'s input element lies over the game\'s name field (%s)' % ', '.join('%.0f' % v for v in field))
        tap(page, (field[0] + field[2]) / 2, (field[1] + field[3]) / 2)
        focused = page.js('return document.activeElement && document.activeElement.id === "name";')
        t.check(focused, 'a tap on the name field focuses the input element (the phone\'s keyboard opens)')
        name_input = page.driver.find_element(By.ID, 'name')
        name_input.send_keys('tou2chyx')
        name_input.send_keys(Keys.BACKSPACE)
        shown = wait_for(page, 'name', 'return document.getElementById("name").value === "Touchy" && '
                         'Module.pageKeys.length === 0;')
        page.canvas('touch_06_name')
        t.check(shown, 'the letters typed reach the game\'s field, which keeps them by its rules: "%s"'
                % page.js('return document.getElementById("name").value;'))
        name_input.send_keys(Keys.ENTER)  # the keyboard's "done": Ok
        gone = wait_for(page, 'ok', 'return !document.body.classList.contains("naming") && '
                        'document.activeElement.id !== "name";')
        t.check(gone, 'Enter on the input is the dialog\'s Ok, and the input goes away')
        page.wait_frames(8)
        page.canvas('touch_07_send_question')
        tap_picture(page, *YES_BUTTON)  # send the result

        names = None
        end = time.monotonic() + STEP_LIMIT_S
        while time.monotonic() < end:
            names = page.driver.execute_async_script(TABLE_NAMES)
            if names and 'Touchy' in names:
                break
            page.wait_frames(8)
        t.check(bool(names) and 'Touchy' in names, 'the name is in the local table (%s)' % names)
        # The world page lists results once the service has played their replays again.
        result = None
        end = time.monotonic() + STEP_LIMIT_S
        while result is None and time.monotonic() < end:
            status, body = t.get(url + 'api/scores?verified=1&name=Touchy')
            results = json.loads(body).get('results', []) if status == 200 else []
            result = next((r for r in results if str(r.get('name', '')).lower() == 'touchy'), None)
            if result is None:
                page.wait_frames(64)  # name searches have a rate limit of their own
        if result is None:
            _, body = t.get(url + 'api/scores?name=Touchy')
            raise t.Failed('no verified result of Touchy within %d s (unverified: %s)' % (STEP_LIMIT_S, body[:300]))
        status, body = t.get(url + 'cgi/version.pl?prg=Saltfang&show&type=0')
        t.check(result is not None and status == 200 and 'touchy' in body.lower(),
                'the result, verified, is on the world page under the typed name')
        errors = [line for line in page.console() if line.startswith('console SEVERE')]
        t.check(not errors, 'no error in the console of the phone\'s page' + (': %s' % errors[:3] if errors else ''))
    except t.Failed:
        for line in page.console()[-30:]:
            print(line)
        raise
    finally:
        page.quit()


def check_page(t, url, refs, shots, static):
    check_screens(t, url, refs, shots)
    check_files(t, url)
    if not static:
        check_touch_play(t, url, refs, shots)
