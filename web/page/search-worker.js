'use strict';
// The build search's worker: made from the page's own core script (a page opened from
// disk can fetch no other), so that a search never holds up the page. Joined in before
// search.js, which makes one.

(function (kestrel) {
  // Runs in the worker, after the core script: answers {id, query} with progress
  // messages now and then, the best answers so far of a long search ({soFar}, at most
  // every 200 ms) and one answer with the search's own time.
  function workerMain() {
    const ready = self.KestrelCore();
    self.onmessage = async (event) => {
      const core = await ready;
      const { id, query } = event.data;
      let last = 0;
      const started = performance.now();
      const answer = core.searchJson(query, (done) => {
        const now = performance.now();
        if (now - last >= 50) {
          last = now;
          self.postMessage({ id, progress: done });
        }
      }, (soFar) => self.postMessage({ id, soFar }));
      self.postMessage({ id, answer, ms: performance.now() - started });
    };
  }

  let workerUrl = null;

  // A worker for the searches: `received` gets its messages, `failed` the text of an
  // error that stopped it.
  kestrel.searchWorker = function (received, failed) {
    let worker = null;
    const control = {
      // False where the browser refuses a worker to this page.
      ensure() {
        if (worker) {
          return true;
        }
        try {
          if (!workerUrl) {
            const core = document.getElementById('kestrel-core-script').textContent;
            const source = core + '\n;(' + workerMain.toString() + ')();\n';
            workerUrl = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
          }
          worker = new Worker(workerUrl);
        } catch (error) {
          return false;
        }
        worker.onmessage = (event) => received(event.data);
        worker.onerror = (event) => {
          event.preventDefault();
          control.stop();
          failed(event.message || '不明なエラー');
        };
        return true;
      },
      stop() {
        if (worker) {
          worker.terminate();
          worker = null;
        }
      },
      post(message) {
        worker.postMessage(message);
      },
    };
    return control;
  };
})(window.kestrelPage);
