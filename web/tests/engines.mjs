// The page in the three browser engines, each from Debian and driven as a user drives
// it: Chromium through playwright-core, Firefox (firefox-esr) through puppeteer-core over
// WebDriver BiDi, WebKit (WebKitGTK's MiniBrowser) through WebKitWebDriver and the small
// client in webdriver.mjs. Each engine answers the same few calls: open a URL, run a
// function in the page, click at an element's middle, press keys, set the viewport,
// take a screenshot.

import puppeteer from 'puppeteer-core';
import { launch as launchChromium } from './browser.mjs';
import { launchWebKit } from './webdriver.mjs';

export const kEngines = ['chromium', 'firefox', 'webkit'];

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// WebDriver's codes of the modifier keys.
const kWebDriverKeys = { Control: '\uE009', Shift: '\uE008', Escape: '\uE00C' };

// The middle of an element in the viewport, scrolled into view first.
function middleOf(selector) {
  const e = document.querySelector(selector);
  if (!e) {
    return null;
  }
  e.scrollIntoView({ block: 'nearest', inline: 'nearest' });
  const box = e.getBoundingClientRect();
  return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
}

class EnginePage {
  constructor(engine, close) {
    this.engine = engine;
    this.closeAll = close;
    // Errors in the console and uncaught ones, where the driver tells them (WebDriver
    // classic, WebKit's, does not).
    this.errors = [];
  }

  watch(page) {
    page.on('console', (message) => {
      if (message.type() === 'error') {
        this.errors.push(message.text());
      }
    });
    page.on('pageerror', (error) => this.errors.push(error.message));
  }

  // Polls a function in the page until it answers something true, and answers that.
  async waitFor(fn, arg = null, timeout = 30000) {
    const start = Date.now();
    for (;;) {
      const value = await this.evaluate(fn, arg);
      if (value) {
        return value;
      }
      if (Date.now() - start > timeout) {
        throw new Error(`${this.engine}: still waiting after ${timeout} ms for ${fn}`);
      }
      await sleep(50);
    }
  }

  // Opens a URL and waits until the page has drawn its first answer.
  async open(url) {
    await this.goto(url);
    await this.waitFor(() => document.documentElement.dataset.ready === 'true');
  }

  async click(selector) {
    const at = await this.evaluate(middleOf, selector);
    if (!at) {
      throw new Error(`${this.engine}: nothing to click at ${selector}`);
    }
    await this.mouseClick(at.x, at.y);
  }

  close() {
    return this.closeAll();
  }
}

class ChromiumPage extends EnginePage {
  static async launch(viewport) {
    const browser = await launchChromium();
    const context = await browser.newContext({ viewport });
    const page = new ChromiumPage('chromium', () => browser.close());
    page.page = await context.newPage();
    page.watch(page.page);
    return page;
  }

  async goto(url) {
    await this.page.goto(url);
  }

  evaluate(fn, arg = null) {
    return this.page.evaluate(fn, arg);
  }

  mouseClick(x, y) {
    return this.page.mouse.click(x, y);
  }

  press(keys) {
    return this.page.keyboard.press(keys.join('+'));
  }

  setViewport(width, height) {
    return this.page.setViewportSize({ width, height });
  }

  screenshot() {
    return this.page.screenshot();
  }
}

class FirefoxPage extends EnginePage {
  static async launch(viewport) {
    const browser = await puppeteer.launch({
      browser: 'firefox',
      executablePath: '/usr/bin/firefox-esr',
      headless: true,
      // Nothing of its own from the network: no updates, reports or first-run pages.
      extraPrefsFirefox: {
        'app.update.enabled': false,
        'browser.shell.checkDefaultBrowser': false,
        'datareporting.policy.dataSubmissionEnabled': false,
        'toolkit.telemetry.enabled': false,
        'network.captive-portal-service.enabled': false,
      },
    });
    const page = new FirefoxPage('firefox', () => browser.close());
    page.page = await browser.newPage();
    page.watch(page.page);
    await page.page.setViewport(viewport);
    return page;
  }

  async goto(url) {
    await this.page.goto(url);
  }

  evaluate(fn, arg = null) {
    return this.page.evaluate(fn, arg);
  }

  mouseClick(x, y) {
    return this.page.mouse.click(x, y);
  }

  async press(keys) {
    for (const key of keys.slice(0, -1)) {
      await this.page.keyboard.down(key);
    }
    await this.page.keyboard.press(keys[keys.length - 1]);
    for (const key of keys.slice(0, -1).reverse()) {
      await this.page.keyboard.up(key);
    }
  }

  setViewport(width, height) {
    return this.page.setViewport({ width, height });
  }

  screenshot() {
    return this.page.screenshot();
  }
}

class WebKitPage extends EnginePage {
  static async launch(viewport) {
    const session = await launchWebKit();
    const page = new WebKitPage('webkit', () => session.close());
    page.session = session;
    page.viewport = viewport;
    return page;
  }

  async goto(url) {
    await this.session.goto(url);
    // The window is sized once there is a page to measure it by.
    if (this.viewport) {
      await this.session.setViewport(this.viewport.width, this.viewport.height);
      this.viewport = null;
    }
  }

  evaluate(fn, arg = null) {
    return this.session.evaluate(fn, arg);
  }

  mouseClick(x, y) {
    return this.session.click(x, y);
  }

  press(keys) {
    return this.session.press(keys.map((key) => kWebDriverKeys[key] || key));
  }

  // The window resized, then two frames, so that a screenshot shows the new size drawn.
  async setViewport(width, height) {
    await this.session.setViewport(width, height);
    await this.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
  }

  screenshot() {
    return this.session.screenshot();
  }
}

const kMakers = { chromium: ChromiumPage, firefox: FirefoxPage, webkit: WebKitPage };

// One engine with one page, its storage empty, its viewport as given.
export function launchEngine(engine, viewport = { width: 800, height: 760 }) {
  return kMakers[engine].launch(viewport);
}
