"""Watching world results in the browser, checked by browser_check.py after its game was sent and
verified: the world page's Watch link starts the replay; at 16x it reaches its end with the
table's score; pause holds the step counter; a seek to the middle of a long replay is timed; a
page opened with #t= starts there; each bad input gives its sentence on the page. Screenshots in
SHOTS_DIR. The long replay (a scripted game of fifteen minutes) is the one whose id
check-in-browser puts in SALTFANG_WATCH_LONG_ID; the bad inputs are served by a small server of
this script beside the real service, since the service itself never serves a damaged replay."""
import http.server
import json
import os
import threading
import time
import urllib.request
import zlib

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

START_LIMIT_S = 30
HEADER_BYTES = 88
SIMULATION_OFFSET, HEADER_CRC_OFFSET = 12, 84


def view(page):
    return page.js('return window.Module && Module.watchView ? Module.watchView : null;')


def open_watch(t, page, address, what):
    page.driver.get(address)
    return wait_view(t, page, what)


def wait_view(t, page, what, limit=START_LIMIT_S):
    end = time.monotonic() + limit
    while time.monotonic() < end:
        v = view(page)
        if v:
            return v
        failed = page.js('var s = document.getElementById("status"), c = document.body.classList; '
                         'return c.contains("failed") || /stopped|Error/.test(s.textContent) ? s.textContent : "";')
        if failed:
            raise t.Failed('%s: the page says "%s"' % (what, failed))
        time.sleep(0.1)
    raise t.Failed('%s: no replay shown within %d s' % (what, limit))


def wait_until(page, test, limit):
    end = time.monotonic() + limit
    while time.monotonic() < end:
        v = view(page)
        if v and test(v):
            return v
        time.sleep(0.05)
    return view(page)


def press(page, element_text):
    """A press of one of the control bar's buttons, by its label, as a mouse would."""
    button = [b for b in page.driver.find_elements(By.CSS_SELECTOR, '#controls button')
              if b.text == element_text][0]
    button.click()


def check_watching(t, url, shots, name, long_id):
    page = t.Page(url, shots)
    try:
        result_id = check_watch_link(t, page, url, name)
        if long_id:
            check_long_replay(t, page, url, long_id)
        else:
            print('info no long replay to seek in (check-in-browser needs the test build\'s tools)')
        check_bad_inputs(t, page, url, result_id)
    finally:
        page.quit()


def check_watch_link(t, page, url, name):
    page.driver.get(url + 'cgi/version.pl?prg=Saltfang&show&type=0')
    rows = [r for r in page.driver.find_elements(By.CSS_SELECTOR, 'tr') if name.lower() in r.text.lower()]
    t.check(rows, 'the world page lists %s' % name)
    links = rows[0].find_elements(By.LINK_TEXT, 'Watch')
    t.check(len(links) == 1, 'the verified result has a Watch link on the world page')
    links[0].click()
    v = wait_view(t, page, 'the Watch link')
    result = page.js('return Module.watchResult || null;') or {}
    t.check('watch=' in page.driver.current_url and v['totalSteps'] > 0,
            'a click on Watch starts the replay (%d steps, %s)' % (v['totalSteps'], page.driver.current_url))
    info = page.js('return document.getElementById("info").textContent;')
    t.check(name.lower() in info.lower() and str(result.get('score')) in info,
            'the page names the player and the score above the picture ("%s")' % info)
    page.driver.save_screenshot(os.path.join(page.shots, 'watch_01_started.png'))

    # Pause holds the step counter: a click on the picture pauses, Space resumes.
    page.driver.find_element(By.ID, 'canvas').click()
    paused = wait_until(page, lambda v: v['paused'], 5)
    time.sleep(1)
    later = view(page)
    t.check(paused['paused'] and later['steps'] == paused['steps'],
            'pause stops the step counter (%d, a second later %d)' % (paused['steps'], later['steps']))
    press(page, 'Step')
    stepped = wait_until(page, lambda v: v['steps'] == paused['steps'] + 1, 5)
    t.check(stepped['steps'] == paused['steps'] + 1 and stepped['paused'], 'Step plays one step while paused')
    page.keys(Keys.SPACE)
    wait_until(page, lambda v: not v['paused'], 5)

    # 16x to the end: the score shown equals the table's.
    for _ in range(4):
        page.keys(Keys.ARROW_UP)
    fast = wait_until(page, lambda v: v['speed'] == 16, 5)
    t.check(fast['speed'] == 16, 'four presses of Up reach 16x')
    end = wait_until(page, lambda v: v['ended'], 60)
    page.driver.save_screenshot(os.path.join(page.shots, 'watch_02_end.png'))
    t.check(end['ended'] and not end['error'] and end['score'] == result.get('score'),
            'at 16x the replay reaches its end with the table\'s score (%d shown, %s on the table)'
            % (end['score'], result.get('score')))
    t.check('#t=' in page.driver.current_url, 'the address carries the position (%s)'
            % page.driver.current_url.split('/')[-1])

    # Restart, and Leave goes back to the world page.
    press(page, 'Restart')
    again = wait_until(page, lambda v: v['steps'] < 200 and not v['ended'], 5)
    t.check(again['steps'] < 200 and not again['ended'], 'Restart plays the replay from its start')
    press(page, 'Leave')
    end = time.monotonic() + 10
    while 'cgi/version.pl' not in page.driver.current_url and time.monotonic() < end:
        time.sleep(0.1)
    t.check('cgi/version.pl' in page.driver.current_url, 'Leave goes back to the world page')
    return result.get('id')


def check_long_replay(t, page, url, long_id):
    v = open_watch(t, page, '%s?watch=%s' % (url, long_id), 'the long replay')
    total_s = v['totalMs'] / 1000
    t.check(total_s >= 600, 'the long replay lasts %.0f s (at least ten minutes)' % total_s)

    # A click in the middle of the progress bar, timed from the click to the view that shows
    # the new position, and by the game itself around its seek.
    bar = page.driver.find_element(By.ID, 'seek')
    page.js('window.seekClicked = 0; var b = document.getElementById("seek");'
            'b.addEventListener("pointerdown", function () { window.seekClicked = performance.now(); }, true);'
            'var shown = Module.onWatchView; Module.onWatchView = function (v) {'
            '  if (window.seekClicked && !window.seekShown && v.seekMs >= 0) window.seekShown = performance.now();'
            '  shown(v); };')
    bar.click()  # the middle of the element
    v = wait_until(page, lambda v: v['seekMs'] >= 0, 10)
    waited = page.js('return window.seekShown - window.seekClicked;')
    middle = v['elapsedMs'] / v['totalMs']
    print('info seek to the middle of a %.0f s replay: %.0f ms in the game, %.0f ms from the click to the '
          'new position on the page' % (total_s, v['seekMs'], waited))
    t.check(0.45 <= middle <= 0.55, 'a click in the middle of the bar goes to the middle (%.0f%%)' % (100 * middle))
    page.driver.save_screenshot(os.path.join(page.shots, 'watch_03_seek_middle.png'))

    # A drag along the bar, then the speed reached at 16x.
    r = page.js('var r = document.getElementById("seek").getBoundingClientRect(); return [r.left, r.top, r.width, r.height];')
    y = r[1] + r[3] / 2
    actions = [('mouseMoved', r[0] + r[2] * 0.2), ('mousePressed', r[0] + r[2] * 0.2),
               ('mouseMoved', r[0] + r[2] * 0.5), ('mouseMoved', r[0] + r[2] * 0.75), ('mouseReleased', r[0] + r[2] * 0.75)]
    for kind, x in actions:
        page.driver.execute_cdp_cmd('Input.dispatchMouseEvent', {'type': kind, 'x': x, 'y': y, 'button': 'left',
                                                                 'clickCount': 1})
        time.sleep(0.1)
    v = wait_until(page, lambda v: abs(v['elapsedMs'] / v['totalMs'] - 0.75) < 0.02, 10)
    t.check(abs(v['elapsedMs'] / v['totalMs'] - 0.75) < 0.02,
            'a drag along the bar ends where it is let go (%.0f%%)' % (100 * v['elapsedMs'] / v['totalMs']))
    page.driver.find_element(By.ID, 'canvas').click()  # pause, then keys reach the game
    wait_until(page, lambda v: v['paused'], 5)
    page.keys(Keys.SPACE, *[Keys.ARROW_UP] * 4)
    v0 = wait_until(page, lambda v: v['speed'] == 16 and not v['paused'], 5)
    t0 = time.monotonic()
    time.sleep(3)
    v1 = view(page)
    rate = (v1['steps'] - v0['steps']) / (time.monotonic() - t0)
    print('info at 16x the viewer plays %.0f steps a second (16x of the 64 Hz tick is 1024)' % rate)
    t.check(not v1['ended'] and rate > 500, 'at 16x the replay plays %.0f steps a second' % rate)

    # Left seeks back 10 s.
    before = view(page)['elapsedMs']
    page.keys(Keys.ARROW_LEFT)
    v = wait_until(page, lambda v: v['elapsedMs'] < before, 5)
    t.check(before - 12000 < v['elapsedMs'] < before, 'Left seeks back 10 s (%.1f s to %.1f s)'
            % (before / 1000, v['elapsedMs'] / 1000))

    # A page opened with #t= starts there.
    page.driver.get('about:blank')
    v = open_watch(t, page, '%s?watch=%s#t=300' % (url, long_id), 'the address with #t=300')
    v = wait_until(page, lambda v: v['elapsedMs'] >= 300000, 5)
    t.check(300000 <= v['elapsedMs'] < 303000, 'a page opened with #t=300 starts at 300 s (%.1f s)'
            % (v['elapsedMs'] / 1000))
    page.driver.save_screenshot(os.path.join(page.shots, 'watch_04_from_300s.png'))


class BadReplays(http.server.SimpleHTTPRequestHandler):
    """The site's files, and replays that are damaged in each way a viewer must survive."""
    replays = {}

    def log_message(self, *args):
        pass

    def do_GET(self):
        path = self.path.split('?')[0]
        if path.startswith('/api/replays/'):
            key = path.rsplit('/', 1)[1]
            if key == '4':  # a service that takes the request and never answers
                self.close_connection = True
                self.connection.shutdown(2)
                return
            body = self.replays.get(key)
            if body is None:
                self.send_error(404)
                return
            self.send_response(200)
            self.send_header('Content-Type', 'application/octet-stream')
            self.send_header('Content-Length', str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        if path.startswith('/api/results/'):
            self.send_error(404)
            return
        super().do_GET()


def bad_replays(good):
    damaged = bytearray(good)
    for i in range(HEADER_BYTES + 10, min(len(damaged), HEADER_BYTES + 40)):
        damaged[i] ^= 0x5A
    other = bytearray(good)
    other[SIMULATION_OFFSET] ^= 0x40
    other[HEADER_CRC_OFFSET:HEADER_CRC_OFFSET + 4] = zlib.crc32(bytes(other[:HEADER_CRC_OFFSET])).to_bytes(4, 'little')
    return {'1': bytes(damaged), '2': good[:len(good) * 2 // 3], '3': bytes(other)}


def check_bad_inputs(t, page, url, good_id):
    """Each bad input gives one sentence on the page, never a blank or a crash."""
    cases = [(url + '?watch=987654', 'the world table has no replay'), (url + '?watch=abc', 'names no replay')]
    site = os.environ.get('SALTFANG_WEB_SITE')
    server = None
    if site:
        with urllib.request.urlopen('%sapi/replays/%s' % (url, good_id), timeout=10) as reply:
            good = reply.read()
        BadReplays.replays = bad_replays(good)
        handler = lambda *a, **k: BadReplays(*a, directory=site, **k)
        server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        bad = 'http://127.0.0.1:%d/' % server.server_address[1]
        cases += [(bad + '?watch=1', 'body is damaged'), (bad + '?watch=2', 'cut short'),
                  (bad + '?watch=3', 'other rules'), (bad + '?watch=4', 'does not answer')]
    try:
        for n, (address, words) in enumerate(cases):
            page.driver.get(address)
            end = time.monotonic() + START_LIMIT_S
            text = ''
            while time.monotonic() < end:
                text = page.js('return document.body.classList.contains("failed") ? '
                               'document.getElementById("status").textContent : "";')
                if text:
                    break
                time.sleep(0.1)
            page.driver.save_screenshot(os.path.join(page.shots, 'watch_bad_%d.png' % (n + 1)))
            t.check(words.lower() in text.lower(), '%s: "%s"' % (address.split('/')[-1], text))
    finally:
        if server:
            server.shutdown()
