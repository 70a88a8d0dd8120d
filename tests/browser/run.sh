#!/bin/sh
# Runs the browser test where Chromium and the test's client are installed; elsewhere says
# how to install them and is skipped (status 77), or fails where VELHA_REQUIRE_BROWSER=1
# (as in CI), so that a machine set up for it never skips it unnoticed.
browser=$(dirname "$0")
chromium=$(command -v chromium || command -v chromium-browser)
if [ -z "$chromium" ] || [ ! -d "$browser/node_modules/puppeteer-core" ]; then
  echo "Skipped: the browser test needs Chromium and its client:" \
    "sudo apt-get install chromium && npm ci --prefix tests/browser"
  [ "${VELHA_REQUIRE_BROWSER:-}" = 1 ] && exit 1
  exit 77
fi
CHROMIUM=$chromium exec node --test "$browser/page_test.mjs"
