'use strict';
// The build search dialog "ビルド探索": the query as controls, the search in a worker
// made from the page's own core script (so the page never waits for it; search-worker.js),
// the answers, the changes of the picked one and the trade-off curve (search-results.js).
// An answer is shown through the core as one step, as a pasted build code is. Joined into
// the page after the page's own modules; start-up calls install() with the page's calls
// once the core is ready.

(function () {
  const kStats = ['パワー', 'コントロール', '正確度', 'スピン', 'カーブ'];
  const kStatKeys = ['Pow', 'Ctrl', 'Exa', 'Spin', 'Cur'];
  const kMinimums = [['pow', 'パワー'], ['ctrl', 'コントロール'], ['exa', '正確度'],
                     ['spin', 'スピン'], ['cur', 'カーブ'], ['distance', '1W飛距離']];
  const kObjectives = [['distance', '1W飛距離'], ['powerDistance', 'パワーショット飛距離'],
                       ['pow', 'パワー'], ['ctrl', 'コントロール'], ['exa', '正確度'],
                       ['spin', 'スピン'], ['cur', 'カーブ'], ['sum', 'ステータス合計'],
                       ['leastPP', '最小PP']];
  const kWearKeys = ['Top', 'Pants', 'TopPants', 'Waist', 'Shoes', 'Hand', 'Head', 'Head1', 'Head2',
                     'Face', 'Face1', 'Face2', 'Face3', 'Hoho', 'Hoho2', 'Mouth', 'Arm', 'Key', 'Gun',
                     'Ear', 'Back', 'Shippo', 'Acce', 'Ring'];
  const kOtherParts = [
    ['カード', [['CharaCard1', 'キャラカード1'], ['CharaCard2', 'キャラカード2'],
              ['CharaCard3', 'キャラカード3'], ['CaddieCard1', 'キャディカード1'],
              ['CaddieCard2', 'キャディカード2']]],
    ['キャディ等', [['Caddie', 'キャディ'], ['SpecialCard', 'スペシャルカード'], ['Club', 'クラブ']]],
    ['キャラ強化', kStatKeys.map((k, i) => [k + 'SlotUp', kStats[i]])],
    ['クラブ強化', kStatKeys.map((k, i) => ['Club' + k + 'SlotUp', kStats[i]])],
  ];
  const kProgressDelay = 200;  // ms a search runs before its progress shows

  let page = null;   // the page's calls: core, change(call), status(text)
  let form = null;   // the core's SearchForm(): shown page, characters and their slots
  let ranges = null;  // the core's limit of each number field, by its JSON path
  let dialog = null;
  const ui = {};     // the dialog's elements by role
  const free = new Map([...kWearKeys, ...kOtherParts.flatMap(([, parts]) => parts.map(([k]) => k))]
    .map((key) => [key, true]));
  let job = null;     // the running search: {id, started, timer}
  let jobs = 0;
  let last = null;    // the last finished search: query, answer, times
  const waiting = [];  // run()s that wait for the search to finish

  const worker = window.kestrelPage.searchWorker(received, (message) => {
    if (job) {
      finish('error', 'ビルド探索を実行できませんでした: ' + message);
    }
  });
  const found = window.kestrelPage.searchResults({
    ui, element, kStats, kMinimums, kObjectives, readForm, showStatus,
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
      showStatus(`探索中… これまでの候補 ${job.soFar.answers.length} 件 (まだ最適とは限りません)`);
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

  // The integer of a number field, null when it is empty. A value outside the core's
  // limit for the field, or no integer (a fraction, text the browser could not read as a
  // number), is refused as the core refuses it.
  function integerOf(input, field) {
    const text = input.value.trim();
    if (text === '' && !input.validity.badInput) {
      return null;
    }
    const value = Number(text);
    const limit = ranges[field];
    if (text === '' || !Number.isInteger(value) || value < limit.low || value > limit.high) {
      throw new Refusal(limit.refusal, input);
    }
    return value;
  }

  // The query of the controls; throws a Refusal for a number the core would refuse. An
  // empty count of answers leaves the core's default.
  function readQuery() {
    const character = ui.character.value;
    const min = {};
    for (const [key] of kMinimums) {
      const value = integerOf(ui.min[key], 'min.' + key);
      if (value !== null) {
        min[key] = value;
      }
    }
    return {
      build: page.core.shareCode(),
      character: character === 'shown' || character === 'any' ? character : Number(character),
      free: [...free].filter(([, on]) => on).map(([key]) => key),
      min,
      noPenalty: ui.noPenalty.checked,
      budget: integerOf(ui.budget, 'budget'),
      objective: ui.objective.value,
      results: integerOf(ui.results, 'results') ?? undefined,
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
  function start(text) {
    if (job) {
      return false;
    }
    if (text === undefined) {
      text = queryText();
      if (text === null) {
        return false;
      }
    }
    if (!worker.ensure()) {
      showStatus('このブラウザではビルド探索を実行できません。', true);
      return false;
    }
    readForm();
    job = { id: ++jobs, started: performance.now(), query: text, objective: JSON.parse(text).objective };
    job.timer = setTimeout(() => {
      ui.progressBox.hidden = false;
      job.progressShown = performance.now() - job.started;
    }, kProgressDelay);
    ui.progress.value = 0;
    ui.progressText.textContent = '';
    showStatus('探索しています…');
    setState('running');
    worker.post({ id: job.id, query: text });
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
    finish('cancelled', soFar ? `探索を中止しました。見つけた候補 ${soFar.answers.length} 件は最適とは限りません。`
      : '探索を中止しました。', soFar);
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
    const count = answer.feasible ? `候補 ${answer.answers.length} 件` : '条件に合うビルドがありません';
    return `${count} (${answer.nodes.toLocaleString('ja-JP')} ノード, ${(run.ms / 1000).toFixed(2)} 秒)` +
      (answer.proved ? ' 最適を確認済み' : '');
  }

  function showStatus(text, error) {
    ui.status.textContent = text;
    ui.status.classList.toggle('error', Boolean(error));
  }

  // ---- The dialog -------------------------------------------------------------------

  function element(tag, attributes, parent, text) {
    const e = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes || {})) {
      if (name === 'class') {
        e.className = value;
      } else {
        e.setAttribute(name, value);
      }
    }
    if (text !== undefined) {
      e.textContent = text;
    }
    if (parent) {
      parent.appendChild(e);
    }
    return e;
  }

  function checkbox(parent, key, caption) {
    const label = element('label', { class: 'part' }, parent);
    const box = element('input', { type: 'checkbox', 'data-part': key }, label);
    box.checked = free.get(key);
    box.addEventListener('change', () => free.set(key, box.checked));
    label.appendChild(document.createTextNode(caption));
    return box;
  }

  // The wear slots of the character the query names, by their row captions; for every
  // character, the slots of all of them, a caption that two kinds share told apart by
  // the key.
  function wearRows() {
    const which = ui.character.value;
    if (which === 'any') {
      const captions = new Map();
      for (const c of form.characters) {
        for (const [key, caption] of c.rows) {
          captions.set(key, caption);
        }
      }
      const keys = kWearKeys.filter((key) => captions.has(key));
      const counts = {};
      for (const key of keys) {
        counts[captions.get(key)] = (counts[captions.get(key)] || 0) + 1;
      }
      return keys.map((key) => [key, counts[captions.get(key)] > 1 ? `${captions.get(key)}(${key})` : captions.get(key)]);
    }
    const index = which === 'shown' ? form.shown : Number(which);
    return index >= 0 ? form.characters[index].rows : [];
  }

  function showWearRows() {
    ui.wear.replaceChildren();
    for (const [key, caption] of wearRows()) {
      checkbox(ui.wear, key, caption);
    }
  }

  function setAllParts(on) {
    for (const key of free.keys()) {
      free.set(key, on);
    }
    for (const box of dialog.querySelectorAll('input[data-part]')) {
      box.checked = on;
    }
  }

  function build() {
    dialog = element('dialog', { id: 'SearchDialog', 'aria-labelledby': 'SearchTitle' }, document.body);
    dialog.dataset.state = 'idle';
    element('div', { id: 'SearchTitle', class: 'title' }, dialog, 'ビルド探索');
    const body = element('div', { class: 'body' }, dialog);

    // What to search for.
    const query = element('div', { class: 'query' }, body);
    const top = element('div', { class: 'line' }, query);
    const field = (parent, caption, control) => {
      const label = element('label', { class: 'field' }, parent, caption);
      label.appendChild(control);
      return control;
    };
    ui.character = field(top, 'キャラ', element('select', { id: 'SearchCharacter' }));
    ui.objective = field(top, '目的', element('select', { id: 'SearchObjective' }));
    for (const [value, caption] of kObjectives) {
      element('option', { value }, ui.objective, caption);
    }
    ui.results = field(top, '候補数', element('input', { id: 'SearchResults', type: 'number', value: 10,
                                                     class: 'num' }));
    ui.character.addEventListener('change', showWearRows);

    const parts = element('fieldset', { class: 'parts' }, query);
    const legend = element('legend', {}, parts, '変えてよいもの');
    const all = element('button', { type: 'button', id: 'SearchAllParts' }, legend, 'すべて');
    const none = element('button', { type: 'button', id: 'SearchNoParts' }, legend, 'なし');
    all.addEventListener('click', () => setAllParts(true));
    none.addEventListener('click', () => setAllParts(false));
    const wearLine = element('div', { class: 'group' }, parts);
    element('span', { class: 'group-caption' }, wearLine, '装備');
    ui.wear = element('span', { class: 'boxes', id: 'SearchWear' }, wearLine);
    for (const [caption, list] of kOtherParts) {
      const line = element('div', { class: 'group' }, parts);
      element('span', { class: 'group-caption' }, line, caption);
      const boxes = element('span', { class: 'boxes' }, line);
      for (const [key, text] of list) {
        checkbox(boxes, key, text);
      }
    }

    const limits = element('fieldset', { class: 'limits' }, query);
    element('legend', {}, limits, '条件');
    const minLine = element('div', { class: 'line' }, limits);
    element('span', { class: 'group-caption' }, minLine, '最低値');
    ui.min = {};
    for (const [key, caption] of kMinimums) {
      ui.min[key] = field(minLine, caption, element('input', { type: 'number', class: 'num', 'data-min': key,
                                                              placeholder: 'なし' }));
    }
    const more = element('div', { class: 'line' }, limits);
    const penalty = element('label', { class: 'field' }, more);
    ui.noPenalty = element('input', { type: 'checkbox', id: 'SearchNoPenalty' }, penalty);
    ui.noPenalty.checked = true;
    penalty.appendChild(document.createTextNode('パワーペナルティなし'));
    ui.budget = field(more, '予算', element('input', { id: 'SearchBudget', type: 'number', class: 'num wide',
                                                     placeholder: 'なし' }));
    element('span', { class: 'unit' }, more, 'PP まで');

    const run = element('div', { class: 'line run' }, query);
    ui.run = element('button', { type: 'button', id: 'SearchRun', class: 'main' }, run, '探索');
    ui.cancel = element('button', { type: 'button', id: 'SearchCancel', disabled: '' }, run, '中止');
    ui.progressBox = element('span', { id: 'SearchProgressBox', hidden: '' }, run);
    ui.progress = element('progress', { id: 'SearchProgress', max: 1, value: 0 }, ui.progressBox);
    ui.progressText = element('span', { class: 'percent' }, ui.progressBox);
    ui.status = element('span', { id: 'SearchStatus', role: 'status', 'aria-live': 'polite' }, run);
    ui.run.addEventListener('click', () => start());
    // Enter in a number field searches.
    query.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && event.target.type === 'number') {
        event.preventDefault();
        start();
      }
    });
    ui.cancel.addEventListener('click', cancel);

    // What it found.
    found.build(body);

    const buttons = element('div', { class: 'buttons' }, dialog);
    ui.apply = element('button', { type: 'button', id: 'SearchApply', disabled: '' }, buttons, '適用');
    const close = element('button', { type: 'button', id: 'SearchClose' }, buttons, '閉じる');
    ui.apply.addEventListener('click', found.applyPicked);
    close.addEventListener('click', () => dialog.close());
    // A search still running stops when the dialog closes.
    dialog.addEventListener('close', cancel);
  }

  // What the core says of the shown page and the characters' slots; the wear parts of
  // "表示中のキャラ" follow the shown page.
  function readForm() {
    const shownBefore = form && form.shown;
    form = JSON.parse(page.core.searchForm());
    if (ui.character.options.length === 0) {
      element('option', { value: 'shown' }, ui.character);
      form.characters.forEach((c, i) => element('option', { value: String(i) }, ui.character, c.caption));
      element('option', { value: 'any' }, ui.character, 'すべてのキャラ');
      ui.character.value = 'shown';
    }
    ui.character.options[0].textContent = `表示中のキャラ (${found.characterName(form.shown)})`;
    if (ui.character.value === 'shown' && form.shown !== shownBefore) {
      showWearRows();
    }
  }

  function open() {
    readForm();
    showWearRows();
    worker.ensure();
    if (!dialog.open) {
      dialog.showModal();
    }
  }

  // Each number field takes the range the core gives it.
  function setLimits() {
    ranges = JSON.parse(page.core.searchForm()).limits;
    const inputs = [['results', ui.results], ['budget', ui.budget],
                    ...kMinimums.map(([key]) => ['min.' + key, ui.min[key]])];
    for (const [path, input] of inputs) {
      input.min = ranges[path].low;
      input.max = ranges[path].high;
    }
  }

  function install(calls) {
    page = calls;
    build();
    setLimits();
    const button = element('button', { type: 'button', id: 'SearchButton',
                                       title: '条件に合う最良のビルドを探します' }, null, 'ビルド探索');
    const tools = document.getElementById('tools');
    tools.insertBefore(button, document.getElementById('ToolStatus'));
    button.addEventListener('click', open);
    // For the tests and benchmarks: the last finished search.
    window.kestrel.search = {
      get last() { return last; },
      open,
      cancel,
      // Runs a query text as the dialog runs its own; resolves to the finished search.
      run(text) {
        return new Promise((resolve) => {
          waiting.push(resolve);
          if (!start(text)) {
            waiting.pop();
            resolve(null);
          }
        });
      },
    };
  }

  (window.kestrelPageModules = window.kestrelPageModules || []).push(install);
})();
