// A small W3C WebDriver client over fetch(), enough to drive WebKitGTK's MiniBrowser
// through WebKitWebDriver: the driver runs under its own Xvfb display, on a free port
// of the loopback address, and goes with the session.

import { spawn } from 'node:child_process';
import { createServer } from 'node:net';

const kMiniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// A port nobody listens on now.
function freePort() {
  return new Promise((resolve, reject) => {
    const server = createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export class WebDriverError extends Error {}

export class Session {
  constructor(base, id, driver) {
    this.base = base;
    this.id = id;
    this.driver = driver;
  }

  async command(method, path, body) {
    const response = await fetch(`${this.base}/session/${this.id}${path}`, {
      method,
      headers: body === undefined ? {} : { 'content-type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const answer = await response.json();
    if (!response.ok) {
      const v = answer.value || {};
      throw new WebDriverError(`${method} ${path}: ${v.error} ${v.message || ''}`);
    }
    return answer.value;
  }

  goto(url) {
    return this.command('POST', '/url', { url });
  }

  // Runs a function in the page with one JSON argument and answers its JSON result;
  // a promise it returns is awaited.
  evaluate(fn, arg = null) {
    return this.command('POST', '/execute/async', {
      script: `const done = arguments[arguments.length - 1];
        Promise.resolve().then(() => (${fn})(arguments[0]))
          .then((value) => done({ value: value === undefined ? null : value }),
                (error) => done({ error: String(error && error.stack || error) }));`,
      args: [arg],
    }).then((answer) => {
      if (answer.error) {
        throw new WebDriverError('in the page: ' + answer.error);
      }
      return answer.value;
    });
  }

  setWindowRect(rect) {
    return this.command('POST', '/window/rect', rect);
  }

  // The viewport's size: the window is made larger by what its frame takes.
  async setViewport(width, height) {
    for (let i = 0; i < 3; ++i) {
      const inner = await this.evaluate(() => ({ w: window.innerWidth, h: window.innerHeight }));
      if (inner.w === width && inner.h === height) {
        return;
      }
      const outer = await this.command('GET', '/window/rect');
      await this.setWindowRect({ width: outer.width + width - inner.w, height: outer.height + height - inner.h });
    }
  }

  // A PNG of the viewport.
  async screenshot() {
    return Buffer.from(await this.command('GET', '/screenshot'), 'base64');
  }

  // A click of the left mouse button at a point of the viewport.
  actions(actions) {
    return this.command('POST', '/actions', { actions });
  }

  async click(x, y) {
    await this.actions([{
      type: 'pointer',
      id: 'mouse',
      parameters: { pointerType: 'mouse' },
      actions: [
        { type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport', duration: 0 },
        { type: 'pointerDown', button: 0 },
        { type: 'pointerUp', button: 0 },
      ],
    }]);
    await this.command('DELETE', '/actions');
  }

  // Keys pressed together, e.g. ['\uE009', 'z'] for Ctrl+Z, then let go in reverse.
  async press(keys) {
    await this.actions([{
      type: 'key',
      id: 'keyboard',
      actions: [...keys.map((value) => ({ type: 'keyDown', value })),
                ...[...keys].reverse().map((value) => ({ type: 'keyUp', value }))],
    }]);
    await this.command('DELETE', '/actions');
  }

  async close() {
    try {
      await this.command('DELETE', '');
    } finally {
      await this.driver.stop();
    }
  }
}

// WebKitWebDriver under a display of its own, and a session of MiniBrowser in it.
export async function launchWebKit({ width = 1280, height = 1024 } = {}) {
  const port = await freePort();
  // Its own process group, so that the display and the driver go together.
  const child = spawn('xvfb-run', ['-a', '-s', `-screen 0 ${width}x${height}x24`,
                                   'WebKitWebDriver', `--port=${port}`, '--host=127.0.0.1'],
                      { detached: true, stdio: ['ignore', 'ignore', 'pipe'] });
  let log = '';
  child.stderr.on('data', (chunk) => {
    log = (log + chunk).slice(-4000);
  });
  let exited = false;
  const gone = new Promise((resolve) => child.on('exit', () => {
    exited = true;
    resolve();
  }));
  const driver = {
    async stop() {
      if (!exited) {
        try {
          process.kill(-child.pid, 'SIGTERM');
        } catch (e) {
          // Already gone.
        }
        await Promise.race([gone, sleep(3000)]);
        if (!exited) {
          process.kill(-child.pid, 'SIGKILL');
        }
      }
    },
  };
  const base = `http://127.0.0.1:${port}`;
  try {
    for (let start = Date.now(); ; await sleep(100)) {
      if (exited) {
        throw new WebDriverError('WebKitWebDriver stopped: ' + log);
      }
      try {
        const status = await (await fetch(base + '/status')).json();
        if (status.value && status.value.ready) {
          break;
        }
      } catch (e) {
        // Not listening yet.
      }
      if (Date.now() - start > 20000) {
        throw new WebDriverError('WebKitWebDriver did not start: ' + log);
      }
    }
    const response = await fetch(base + '/session', {
      method: 'POST',
      headers: { 'content-type': 'application/json' },
      body: JSON.stringify({
        capabilities: {
          alwaysMatch: {
            'webkitgtk:browserOptions': { binary: kMiniBrowser, args: ['--automation'] },
          },
        },
      }),
    });
    const answer = await response.json();
    if (!response.ok) {
      throw new WebDriverError('no session: ' + JSON.stringify(answer.value));
    }
    return new Session(base, answer.value.sessionId, driver);
  } catch (e) {
    await driver.stop();
    throw e;
  }
}
