'use strict';
// The build search dialog "ビルド探索": built from the core's description of it
// (search-form.js), the query read from its controls, the search in a worker made from
// the page's own core script (so the page never waits for it; search-worker.js), and the
// answers, the changes of the picked one and the trade-off curve (search-results.js).
// An answer is shown through the core as one step, as a pasted build code is. Joined into
// the page after the page's own modules; start-up calls install() with the page's calls
// once the core is ready.

(function () {
  const kProgressDelay = 200;  // ms a search runs before its progress shows
  const kestrelPage = window.kestrelPage;

  let page = null;   // the page's calls: core, change(call), status(text)
  let form = null;   // the core's description of the dialog, with the shown page
  let dialog = null;
  let built = null;  // the dialog's elements: byName, parts, wear
  const ui = {};     // the elements the results' part uses, by role
  let job = null;     // the running search: {id, started, timer}
  let jobs = 0;
  let last = null;    // the last finished search: query, answer, times
  const waiting = [];  // run()s that wait for the search to finish

  const worker = kestrelPage.searchWorker(received, (message) => {
    if (job) {
      finish('error', 'ビルド探索を実行できませんでした: ' + message);
    }
  });

  // A text of the description with its {0}, {1}, ... filled.
  function text(key, ...figures) {
    return kestrelPage.filledText(form.texts[key], figures);
  }

  const found = kestrelPage.searchResults({
    ui, element: kestrelPage.searchElement, text, readForm, showStatus,
    get page() { return page; },
    get dialog() { return dialog; },
    get form() { return form; },
    get last() { return last; },
  });

  // ---- The worker's messages -------------------------------------------------------

  function received(message) {
    if (!job || message.id !== job.id) {
      return;
    }
    if (message.progress !== undefined) {
      ui.progress.value = message.progress;
      ui.progressText.textContent = Math.floor(message.progress * 100) + '%';
      return;
    }
    if (message.soFar !== undefined) {
      // The best answers so far, not yet proved: shown, and kept if the search is stopped.
      job.soFar = JSON.parse(message.soFar);
      last = { query: job.query, objective: job.objective, answer: job.soFar, run: null,
               progressShown: job.progressShown ?? null, shownPage: form.shown };
      found.render(job.soFar, true);
      showStatus(text('soFar', job.soFar.answers.length));
      return;
    }
    const answer = JSON.parse(message.answer);
    const run = { ms: performance.now() - job.started, searchMs: message.ms };
    if (answer.error) {
      finish('error', answer.error);
      return;
    }
    finish(answer.cancelled ? 'cancelled' : 'done', '', answer, run);
  }

  // ---- The query --------------------------------------------------------------------

  // A value the core would refuse, with the core's own message and the field that holds it.
  class Refusal extends Error {
    constructor(message, input) {
      super(message);
      this.input = input;
    }
  }

  // The integer of a number field. A value outside the core's limit for the field, or no
  // integer (a fraction, empty, text the browser could not read as a number), is refused
  // as the core refuses it.
  function integerOf(input) {
    const c = form.controls.find((control) => control.name === input.id);
    const text = input.value.trim();
    const value = Number(text);
    if (text === '' || !Number.isInteger(value) || value < c.limit.low || value > c.limit.high) {
      throw new Refusal(c.limit.refusal, input);
    }
    return value;
  }

  // The query of the controls; throws a Refusal for a number the core would refuse. A
  // minimum or the budget counts only while its toggle is on.
  function readQuery() {
    const n = built.byName;
    const character = n.SearchCharacter.value;
    const min = {};
    for (const input of dialog.querySelectorAll('input[data-min]')) {
      if (n['SearchMinOn_' + input.dataset.min].checked) {
        min[input.dataset.min] = integerOf(input);
      }
    }
    const view = n.SearchView.value;
    const acquire = n.SearchAcquire.value;
    return {
      build: page.core.shareCode(),
      character: character === 'shown' || character === 'any' ? character : Number(character),
      free: Object.entries(built.parts).filter(([, box]) => box.checked).map(([key]) => key),
      min,
      noPenalty: n.SearchNoPenalty.checked,
      budget: n.SearchBudgetOn.checked ? integerOf(n.SearchBudget) : null,
      objective: n.SearchObjective.value,
      results: integerOf(n.SearchResults),
      // Within the player's holdings, as the window searches.
      owned: JSON.parse(page.core.holdings()),
      acquire: view === 'acquired' ? form.nextToGetAcquire : acquire === form.acquireAny ? null : Number(acquire),
      distinct: view,
    };
  }

  // The query text of the controls, or null when a field is refused: its message then
  // shows as the core's refusals do, and the field takes the focus.
  function queryText() {
    try {
      return JSON.stringify(readQuery());
    } catch (error) {
      if (!(error instanceof Refusal)) {
        throw error;
      }
      setState('error');
      showStatus(error.message, true);
      error.input.focus();
      return null;
    }
  }

  // ---- Running --------------------------------------------------------------------

  function setState(state) {
    dialog.dataset.state = state;
    ui.run.disabled = state === 'running';
    ui.cancel.disabled = state !== 'running';
  }

  // Runs the query of the controls, or the given query text (the benchmark's).
  function start(queryJson) {
    if (job) {
      return false;
    }
    const query = queryJson === undefined ? queryText() : queryJson;
    if (query === null) {
      return false;
    }
    if (!worker.ensure()) {
      showStatus(text('unsupported'), true);
      return false;
    }
    readForm();
    // The answers of the last search leave at once.
    last = null;
    found.clearAnswers();
    job = { id: ++jobs, started: performance.now(), query, objective: JSON.parse(query).objective };
    job.timer = setTimeout(() => {
      ui.progressBox.hidden = false;
      job.progressShown = performance.now() - job.started;
    }, kProgressDelay);
    ui.progress.value = 0;
    ui.progressText.textContent = '';
    showStatus(text('running'));
    setState('running');
    worker.post({ id: job.id, query });
    return true;
  }

  function cancel() {
    if (!job) {
      return;
    }
    // The search stops with its worker; a new one waits for the next search. What it
    // found so far stays, not proved.
    worker.stop();
    const soFar = job.soFar && job.soFar.answers.length > 0 ? job.soFar : null;
    finish('cancelled', soFar ? text('cancelledKept', soFar.answers.length) : text('cancelled'), soFar);
    worker.ensure();
  }

  function finish(state, message, answer, run) {
    clearTimeout(job.timer);
    ui.progressBox.hidden = true;
    last = { query: job.query, objective: job.objective, answer: answer || null, run: run || null,
             progressShown: job.progressShown ?? null, shownPage: form.shown };
    job = null;
    setState(state);
    if (answer) {
      found.render(answer);
    } else {
      found.clearAnswers();
    }
    showStatus(message || summary(answer, run), state === 'error');
    for (const resolve of waiting.splice(0)) {
      resolve(last);
    }
  }

  function summary(answer, run) {
    const nodes = answer.nodes.toLocaleString('en-US');
    const seconds = (run.ms / 1000).toFixed(2);
    const line = answer.feasible ? text('proved', answer.answers.length, nodes, seconds)
      : text('noneFound', nodes, seconds);
    // An answer cut short by a time limit is not proved.
    return answer.proved ? line : line.replace(/ 最適を確認済み$/, '');
  }

  function showStatus(message, error) {
    ui.status.textContent = message;
    ui.status.classList.toggle('error', Boolean(error));
  }

  // ---- The dialog -------------------------------------------------------------------

  // The wear slots of the character the query names, in its page's order; for every
  // character, every kind of slot, each told apart by the description's caption.
  function showWearRows() {
    const which = built.byName.SearchCharacter.value;
    const index = which === 'shown' ? form.shown : which === 'any' ? -1 : Number(which);
    const keys = index >= 0 ? form.characters[index].rows
      : form.parts.filter((p) => p.group === 0 && p.any).map((p) => p.key);
    const byKey = Object.fromEntries(form.parts.map((p) => [p.key, p]));
    built.spare.append(...built.wear.children);
    for (const key of keys) {
      const label = built.parts[key].parentElement;
      label.lastChild.textContent = index >= 0 ? byKey[key].caption : byKey[key].anyCaption;
      label.title = byKey[key].hint;
      built.wear.appendChild(label);
    }
  }

  function setAllParts(on) {
    for (const box of Object.values(built.parts)) {
      box.checked = on;
    }
    queryChanged();
  }

  // A change to the query leaves the answers shown behind it.
  function queryChanged() {
    if (!job && last && last.answer && !found.stale) {
      found.markStale();
    }
  }

  // What the core says of the shown page and the figures now: the wear parts of
  // "表示中のキャラ" follow the shown page, the minimums that are off its figures.
  function readForm() {
    const shownBefore = form && form.shown;
    form = JSON.parse(page.core.searchForm());
    if (!built) {
      return;
    }
    const n = built.byName;
    const shown = form.shown >= 0 ? form.characters[form.shown].caption : '—';
    n.SearchCharacter.options[0].textContent = text('shownCharacter', shown);
    if (n.SearchCharacter.value === 'shown' && form.shown !== shownBefore) {
      showWearRows();
    }
    for (const input of dialog.querySelectorAll('input[data-min]')) {
      if (!n['SearchMinOn_' + input.dataset.min].checked) {
        input.value = form.defaults[input.dataset.min];
      }
    }
  }

  function build() {
    built = kestrelPage.buildSearchDialog(form, found.build);
    dialog = built.dialog;
    const n = built.byName;
    Object.assign(ui, { run: n.SearchRun, cancel: n.SearchCancel, apply: n.SearchApply,
                        status: n.SearchStatus, progress: n.SearchProgress,
                        progressBox: n.SearchProgressBox,
                        progressText: n.SearchProgressBox.querySelector('.percent') });
    ui.cancel.disabled = true;
    ui.apply.disabled = true;
    // Each toggle makes the number it switches usable.
    for (const c of form.controls.filter((control) => control.switch)) {
      n[c.switch].addEventListener('change', () => {
        n[c.name].disabled = !n[c.switch].checked;
      });
    }
    n.SearchCharacter.addEventListener('change', showWearRows);
    // The view of what to get next takes one thing at a time, whatever the limit shows.
    n.SearchView.addEventListener('change', () => {
      n.SearchAcquire.disabled = n.SearchView.value === 'acquired';
    });
    n.SearchFreeAll.addEventListener('click', () => setAllParts(true));
    n.SearchFreeNone.addEventListener('click', () => setAllParts(false));
    const query = dialog.querySelector('.query');
    query.addEventListener('change', queryChanged);
    query.addEventListener('input', queryChanged);
    ui.run.addEventListener('click', () => start());
    // Enter in a number field searches.
    query.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && event.target.type === 'number') {
        event.preventDefault();
        start();
      }
    });
    ui.cancel.addEventListener('click', cancel);
    ui.apply.addEventListener('click', found.applyPicked);
    n.SearchClose.addEventListener('click', () => dialog.close());
    // A search still running stops when the dialog closes.
    dialog.addEventListener('close', cancel);
  }

  function open() {
    readForm();
    showWearRows();
    worker.ensure();
    if (!dialog.open) {
      dialog.showModal();
    }
  }

  function install(calls) {
    page = calls;
    readForm();
    build();
    readForm();
    const button = kestrelPage.searchElement('button', {
      type: 'button', id: 'SearchButton', title: built.byName.SearchRun.title,
    }, null, form.title);
    const tools = document.getElementById('tools');
    tools.insertBefore(button, document.getElementById('ToolStatus'));
    button.addEventListener('click', open);
    // For the tests and benchmarks: the last finished search.
    window.kestrel.search = {
      get last() { return last; },
      open,
      cancel,
      // Runs a query text as the dialog runs its own; resolves to the finished search.
      run(queryJson) {
        return new Promise((resolve) => {
          waiting.push(resolve);
          if (!start(queryJson)) {
            waiting.pop();
            resolve(null);
          }
        });
      },
    };
  }

  (window.kestrelPageModules = window.kestrelPageModules || []).push(install);
})();
