#!/usr/bin/python3
"""The job library in a real headless Chromium through Selenium, against knitfleet serve
(SQLite, --require-approval) and a mosquitto of the test's own, all on loopback: a supervisor
logs in and uploads a job through the /library form, a second one approves it and assigns it to
a machine on the page, and the broker then holds the offer, retained, with the files' digests;
once a second version is released, the floor page marks the machine still knitting the first
behind and the one knitting the second newest. Faults caught: a form that does not reach the
library, an approval or assignment the page cannot make, an offer missing from the broker or
naming other files, a tile marked newest while a newer version is out (or the other way round).
Leaves the pictures of docs/images/library-*.png in the build folder.

usage: test_library_walk.py KNITFLEET KNITJOB OUTPUT_DIR
Exits 77 (skipped) when python3-selenium, chromium-driver or mosquitto is missing."""

import hashlib
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile

SKIP = 77
TIMEOUT_S = 20


def skip(why):
    print('SKIP: ' + why + ': install it with scripts/setup.sh')
    sys.exit(SKIP)


try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support import expected_conditions as ec
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    skip('python3-selenium not found')
for program, package in (('/usr/bin/chromedriver', 'chromium-driver'), ('/usr/sbin/mosquitto', 'mosquitto'),
                         ('/usr/bin/mosquitto_sub', 'mosquitto-clients')):
    if not os.access(program, os.X_OK):
        skip(package + ' not found')


def line_with(process, stream, text):
    """Reads the process's lines until one holds text; the lines read."""
    seen = []
    for raw in stream:
        seen.append(raw.decode(errors='replace'))
        if text in seen[-1]:
            return seen
    raise RuntimeError('%s ended without "%s":\n%s' % (process.args[0], text, ''.join(seen)))


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def run(args, stdin=b''):
    return subprocess.run(args, input=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True, timeout=60).stdout


def main():
    knitfleet, knitjob, out = sys.argv[1:4]
    work = tempfile.mkdtemp(prefix='library-walk-')
    processes = []
    driver = None
    try:
        port = free_port()
        conf = os.path.join(work, 'mosquitto.conf')
        with open(conf, 'w') as f:
            f.write('listener %d 127.0.0.1\nallow_anonymous true\npersistence false\n' % port)
        broker = subprocess.Popen(['/usr/sbin/mosquitto', '-c', conf, '-v'], stderr=subprocess.PIPE)
        processes.append(broker)
        line_with(broker, broker.stderr, ' running')
        db = os.path.join(work, 'fleet.sqlite')
        for name, password in (('anna', 'anna-pw'), ('bert', 'bert-pw')):
            run([knitfleet, 'user', 'add', name, '--role', 'supervisor', '--db', db], (password + '\n').encode())
        run([knitfleet, 'machine', 'add', 'M-1', '--db', db])
        serve = subprocess.Popen([knitfleet, 'serve', '--listen', '127.0.0.1:0', '--url', 'mqtt://127.0.0.1:%d' % port,
                                  '--db', db, '--require-approval'], stdout=subprocess.PIPE)
        processes.append(serve)
        url = line_with(serve, serve.stdout, 'serving http://')[-1].split('serving ')[1].split('/,')[0]
        run([knitjob, 'make', 'J1', '--dir', work])
        files = {ext: os.path.join(work, 'J1', 'J1.' + ext) for ext in ('cnt', 'pat', 'wrk')}

        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        for arg in ('--headless=new', '--no-sandbox', '--disable-gpu', '--window-size=1280,800', '--lang=en'):
            options.add_argument(arg)
        driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        wait = WebDriverWait(driver, TIMEOUT_S)

        def log_in(name, password):
            driver.delete_all_cookies()
            driver.get(url + '/login')
            driver.find_element(By.NAME, 'user').send_keys(name)
            driver.find_element(By.NAME, 'password').send_keys(password)
            driver.find_element(By.CSS_SELECTOR, 'form button, form input[type=submit]').click()
            wait.until(ec.presence_of_element_located((By.ID, 'halls')))  # the floor page's
            driver.get(url + '/library')
            wait.until(ec.visibility_of_element_located((By.ID, 'assign')))  # a supervisor's forms

        log_in('anna', 'anna-pw')
        driver.find_element(By.ID, 'name').send_keys('J1')
        for ext, path in files.items():
            driver.find_element(By.NAME, ext).send_keys(path)
        driver.find_element(By.NAME, 'comment').send_keys('first cut')
        driver.find_element(By.CSS_SELECTOR, '#upload button[type=submit]').click()
        wait.until(ec.text_to_be_present_in_element((By.ID, 'upload-result'), 'Stored as version 1'))
        wait.until(ec.text_to_be_present_in_element((By.CSS_SELECTOR, '#library tbody'), 'waiting for approval'))
        driver.save_screenshot(os.path.join(out, 'library-upload.png'))

        log_in('bert', 'bert-pw')
        approve = wait.until(ec.element_to_be_clickable((By.XPATH, "//tbody//button[text()='Approve']")))
        approve.click()
        wait.until(ec.element_to_be_clickable((By.XPATH, "//tbody//button[text()='Assign']"))).click()
        wait.until(ec.text_to_be_present_in_element_value((By.ID, 'assign-job'), 'J1'))
        driver.find_element(By.ID, 'assign-machine').send_keys('M-1')
        driver.find_element(By.CSS_SELECTOR, '#assign button[type=submit]').click()
        wait.until(ec.text_to_be_present_in_element((By.ID, 'assign-result'), 'J1 v1 offered to M-1'))
        driver.save_screenshot(os.path.join(out, 'library-assign.png'))

        offer = json.loads(run(['/usr/bin/mosquitto_sub', '-h', '127.0.0.1', '-p', str(port), '-t', 'knit/M-1/offer',
                                '-C', '1', '-W', str(TIMEOUT_S)]))
        sums = {ext: hashlib.sha256(open(path, 'rb').read()).hexdigest() for ext, path in files.items()}
        expected = {'job': 'J1', 'version': 1, 'by': 'bert', 'sha256': sums}
        got = {k: offer.get(k) for k in expected}
        if got != expected:
            print('FAIL: the retained offer is %r, not %r' % (offer, expected))
            return 1

        # J1 v2, pushed as knitjob does and approved on the page; M-1 still knits v1, M-2 v2.
        v2 = os.path.join(work, 'v2')
        run([knitjob, 'make', 'J1', '--dir', v2, '--rows', '37'])
        with open(os.path.join(work, 'anna.pw'), 'w') as f:
            f.write('anna-pw\n')
        run([knitjob, 'push', url, os.path.join(v2, 'J1'), '--user', 'anna', '--password-file', os.path.join(work, 'anna.pw')])
        driver.get(url + '/library')
        wait.until(ec.element_to_be_clickable((By.XPATH, "//tbody//button[text()='Approve']"))).click()
        wait.until(ec.invisibility_of_element_located((By.XPATH, "//tbody//button[text()='Approve']")))
        for machine, version in (('M-1', 1), ('M-2', 2)):
            for topic, payload in (('state', '{"job":"J1","running":true}'),
                                   ('job', '{"event":"loaded","job":"J1","source":"library","time":"2026-12-09T10:00:00",'
                                           '"version":%d}' % version)):
                run(['/usr/bin/mosquitto_pub', '-h', '127.0.0.1', '-p', str(port), '-q', '1', '-t',
                     'knit/%s/%s' % (machine, topic), '-m', payload])
        driver.get(url + '/')
        for machine, mark in (('M-1', 'v2 available'), ('M-2', 'newest')):
            wait.until(ec.text_to_be_present_in_element((By.CSS_SELECTOR, '#m-%s .mark' % machine), mark))
        if 'behind' not in driver.find_element(By.CSS_SELECTOR, '#m-M-1 .mark').get_attribute('class').split():
            print('FAIL: the tile of a machine on an older version is not marked behind')
            return 1
        print('PASS: uploaded, approved and assigned in Chromium; the broker holds %s; the floor marks v1 behind v2'
              % json.dumps(offer, sort_keys=True))
        return 0
    finally:
        if driver:
            driver.quit()
        for p in reversed(processes):
            p.send_signal(signal.SIGTERM)
            try:
                p.wait(10)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
