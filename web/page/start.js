'use strict';
// Start-up: the core loaded, the form built from its description, each module's part
// installed, the first answer shown (the settings stored, or the build of the link the
// page was opened with); then the links opened later, and the close that keeps the page.

(function (page) {
  function buildCodeOf(hash) {
    return hash.startsWith('#') ? hash.slice(1) : hash;
  }

  async function start() {
    const core = await window.KestrelCore();
    page.core = core;
    page.build(JSON.parse(core.formJson()));
    page.fit();
    window.addEventListener('resize', page.fit);
    page.installHints();
    page.installMessageBox();
    page.installTools();
    page.installSteps();
    page.installStored();
    // The modules joined in beside the page's own (the build search dialog).
    for (const install of window.kestrelPageModules || []) {
      install(page);
    }
    page.installLists();
    page.apply(core.start(buildCodeOf(location.hash)));
    window.addEventListener('hashchange', () => {
      const code = buildCodeOf(location.hash);
      if (code) {
        page.closeOpenList();
        page.apply(core.openLink(code));
      }
    });
    // Hidden or closed: the active page is kept, as the window's close keeps it.
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden') {
        page.apply(core.close());
      }
    });
    window.addEventListener('pagehide', () => page.apply(core.close()));
    // Ready once the frame with the first answer is drawn.
    requestAnimationFrame(() => {
      const channel = new MessageChannel();
      channel.port1.onmessage = () => {
        window.kestrelPaintedMs = performance.now() - window.kestrelStart;
        document.documentElement.dataset.ready = 'true';
      };
      channel.port2.postMessage(0);
    });
  }

  // For the tests and benchmarks: the core's calls, the form description, the controls.
  window.kestrel = {
    get core() { return page.core; },
    get widgets() { return page.widgets; },
    get controls() { return page.controls; },
  };

  start();
})(window.kestrelPage);
