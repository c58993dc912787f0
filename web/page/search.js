'use strict';
// The build search dialog "ビルド探索": the query as controls, the search in a worker
// made from the page's own core script (so the page never waits for it), the answers as
// a table with the current selection first, the changes of the picked answer, what each
// minimum can reach when nothing meets them all, and the trade-off curve as a step plot
// whose steps can be applied. An answer is shown through the core as one step, as a
// pasted build code is. Joined into the page before page.js, which calls install() with
// its calls once the core is ready.

(function () {
  const kStats = ['パワー', 'コントロール', '正確度', 'スピン', 'カーブ'];
  const kStatKeys = ['Pow', 'Ctrl', 'Exa', 'Spin', 'Cur'];
  const kMinimums = [['pow', 'パワー'], ['ctrl', 'コントロール'], ['exa', '正確度'],
                     ['spin', 'スピン'], ['cur', 'カーブ'], ['distance', '1W飛距離']];
  const kObjectives = [['distance', '1W飛距離'], ['powerDistance', 'パワーショット飛距離'],
                       ['pow', 'パワー'], ['ctrl', 'コントロール'], ['exa', '正確度'],
                       ['spin', 'スピン'], ['cur', 'カーブ'], ['sum', 'ステータス合計'],
                       ['leastPP', '最小PP']];
  // The table column each objective reads its value from.
  const kObjectiveColumn = { distance: 'd0', powerDistance: 'd1', pow: 's0', ctrl: 's1', exa: 's2',
                             spin: 's3', cur: 's4', sum: 'sum', leastPP: 'pp' };
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
  const kResultsMax = 50;

  let page = null;   // the page's calls: core, change(call), status(text)
  let form = null;   // the core's SearchForm(): shown page, characters and their slots
  let dialog = null;
  const ui = {};     // the dialog's elements by role
  const free = new Map([...kWearKeys, ...kOtherParts.flatMap(([, parts]) => parts.map(([k]) => k))]
    .map((key) => [key, true]));

  // ---- The worker -----------------------------------------------------------------

  // Runs in the worker, after the core script: answers {id, query} with progress
  // messages now and then and one answer with the search's own time.
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
      });
      self.postMessage({ id, answer, ms: performance.now() - started });
    };
  }

  let workerUrl = null;
  let worker = null;
  let job = null;  // the running search: {id, started, timer}
  let jobs = 0;

  // False where the browser refuses a worker to this page.
  function ensureWorker() {
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
      stopWorker();
      if (!job) {
        return;
      }
      finish('error', 'ビルド探索を実行できませんでした: ' + (event.message || '不明なエラー'));
    };
    return true;
  }

  function stopWorker() {
    if (worker) {
      worker.terminate();
      worker = null;
    }
  }

  function received(message) {
    if (!job || message.id !== job.id) {
      return;
    }
    if (message.progress !== undefined) {
      ui.progress.value = message.progress;
      ui.progressText.textContent = Math.floor(message.progress * 100) + '%';
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

  const numberOf = (input) => {
    const value = input.value.trim() === '' ? NaN : Number(input.value);
    return Number.isInteger(value) ? value : null;
  };

  function readQuery() {
    const character = ui.character.value;
    const min = {};
    for (const [key] of kMinimums) {
      const value = numberOf(ui.min[key]);
      if (value !== null) {
        min[key] = value;
      }
    }
    const results = Math.min(kResultsMax, Math.max(1, numberOf(ui.results) ?? 10));
    ui.results.value = results;
    return {
      build: page.core.shareCode(),
      character: character === 'shown' || character === 'any' ? character : Number(character),
      free: [...free].filter(([, on]) => on).map(([key]) => key),
      min,
      noPenalty: ui.noPenalty.checked,
      budget: numberOf(ui.budget),
      objective: ui.objective.value,
      results,
    };
  }

  // ---- Running --------------------------------------------------------------------

  function setState(state) {
    dialog.dataset.state = state;
    ui.run.disabled = state === 'running';
    ui.cancel.disabled = state !== 'running';
  }

  // Runs the query of the controls, or the given query text (the benchmark's).
  function start(text = JSON.stringify(readQuery())) {
    if (job) {
      return false;
    }
    if (!ensureWorker()) {
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
    worker.postMessage({ id: job.id, query: text });
    return true;
  }

  function cancel() {
    if (!job) {
      return;
    }
    // The search stops with its worker; a new one waits for the next search.
    stopWorker();
    finish('cancelled', '探索を中止しました。');
    ensureWorker();
  }

  function finish(state, message, answer, run) {
    clearTimeout(job.timer);
    ui.progressBox.hidden = true;
    last = { query: job.query, objective: job.objective, answer: answer || null, run: run || null,
             progressShown: job.progressShown ?? null, shownPage: form.shown };
    job = null;
    setState(state);
    if (answer) {
      render(answer);
    } else {
      clearAnswers();
    }
    showStatus(message || summary(answer, run), state === 'error');
    for (const resolve of waiting.splice(0)) {
      resolve(last);
    }
  }

  function summary(answer, run) {
    const count = answer.feasible ? `候補 ${answer.answers.length} 件` : '条件に合うビルドがありません';
    return `${count} (${answer.nodes.toLocaleString('ja-JP')} ノード, ${(run.ms / 1000).toFixed(2)} 秒)`;
  }

  function showStatus(text, error) {
    ui.status.textContent = text;
    ui.status.classList.toggle('error', Boolean(error));
  }

  // ---- The answers ------------------------------------------------------------------

  let last = null;      // the last finished search: query, answer, times
  const waiting = [];   // run()s that wait for the search to finish
  let picked = null;    // the picked answer or curve step: {answer, label, row or step}

  const characterName = (index) => (index >= 0 && index < form.characters.length
    ? form.characters[index].caption : '-');
  const sum = (final) => final.reduce((a, b) => a + b, 0);
  const penaltyText = (penalty) => (penalty < 0 ? String(penalty) : '');

  function cell(row, text, column) {
    const td = document.createElement('td');
    td.textContent = text;
    if (column) {
      td.dataset.column = column;
    }
    row.appendChild(td);
    return td;
  }

  function figureRow(rank, character, figures, changes) {
    const tr = document.createElement('tr');
    cell(tr, rank, 'rank');
    cell(tr, character, 'character');
    figures.final.forEach((value, i) => cell(tr, String(value), 's' + i));
    cell(tr, String(sum(figures.final)), 'sum');
    cell(tr, penaltyText(figures.penalty), 'penalty');
    figures.distances.forEach((value, i) => cell(tr, value + 'y', 'd' + i));
    cell(tr, String(figures.pp), 'pp');
    cell(tr, changes === null ? '' : String(changes), 'changes');
    const column = kObjectiveColumn[last.objective];
    for (const td of tr.querySelectorAll(`[data-column="${column}"]`)) {
      td.classList.add('objective');
    }
    return tr;
  }

  function clearAnswers() {
    ui.answers.replaceChildren();
    ui.reaches.hidden = true;
    ui.reachList.replaceChildren();
    ui.curveBox.hidden = true;
    ui.curve.replaceChildren();
    pick(null);
  }

  function render(answer) {
    clearAnswers();
    const current = figureRow('現在', characterName(last.shownPage), answer.current, null);
    current.classList.add('current');
    current.addEventListener('click', () => pick(null));
    ui.answers.appendChild(current);
    answer.answers.forEach((a) => {
      const tr = figureRow(`${a.rank}位`, characterName(a.character), a, a.changes.length);
      tr.dataset.code = a.code;
      tr.dataset.rank = a.rank;
      tr.tabIndex = -1;
      tr.addEventListener('click', () => pick({ row: tr, answer: a, label: `${a.rank}位` }));
      tr.addEventListener('dblclick', () => {
        pick({ row: tr, answer: a, label: `${a.rank}位` });
        applyPicked();
      });
      ui.answers.appendChild(tr);
    });
    renderReaches(answer);
    renderCurve(answer);
    const first = ui.answers.querySelector('tr[data-code]');
    if (first) {
      first.click();
    }
  }

  function renderReaches(answer) {
    if (answer.feasible) {
      return;
    }
    ui.reaches.hidden = false;
    ui.reachList.replaceChildren();
    const names = Object.fromEntries(kMinimums);
    for (const reach of answer.reaches) {
      const li = document.createElement('li');
      const unit = reach.min === 'distance' ? 'y' : '';
      li.dataset.min = reach.min;
      li.textContent = reach.reachable === null
        ? `${names[reach.min]} ${reach.wanted}${unit} 以上: ほかの条件だけで当てはまるビルドがありません`
        : `${names[reach.min]} ${reach.wanted}${unit} 以上: ほかの条件を守ると最高 ${reach.reachable}${unit}`;
      ui.reachList.appendChild(li);
    }
    if (answer.reaches.length === 0) {
      const li = element('li', {}, ui.reachList, 'パワーペナルティなしと予算の条件に当てはまるビルドがありません。');
      li.dataset.min = '';
    }
  }

  // The answer or curve step whose changes show and that "適用" applies.
  function pick(choice) {
    picked = choice;
    for (const e of dialog.querySelectorAll('.picked')) {
      e.classList.remove('picked');
    }
    ui.changes.replaceChildren();
    ui.apply.disabled = !choice;
    if (!choice) {
      ui.changesTitle.textContent = '変更点';
      if (last && last.answer) {
        const li = document.createElement('li');
        li.textContent = '探索を始めたときの選択です。';
        li.className = 'none';
        ui.changes.appendChild(li);
      }
      return;
    }
    const targets = choice.row ? [choice.row] : [];
    if (choice.step !== undefined) {
      targets.push(...ui.curve.querySelectorAll(`[data-step="${choice.step}"]`));
    }
    for (const e of targets) {
      e.classList.add('picked');
    }
    ui.changesTitle.textContent = `${choice.label}の変更 (ダブルクリックか「適用」で適用)`;
    const texts = choice.answer.changes.length > 0 ? choice.answer.changes : ['変更なし'];
    for (const text of texts) {
      const li = document.createElement('li');
      li.textContent = text;
      ui.changes.appendChild(li);
    }
  }

  function applyPicked() {
    if (!picked) {
      return;
    }
    const answer = page.change(() => page.core.applyBuild(picked.answer.code));
    // The shown page may have turned to the answer's character.
    readForm();
    if (answer && answer.errors.length === 0) {
      showStatus(`${picked.label}のビルドを表示しました (「元に戻す」か Ctrl+Z で戻せます)。`);
    }
  }

  // ---- The curve ------------------------------------------------------------------

  const svg = (tag, attributes, parent) => {
    const e = document.createElementNS('http://www.w3.org/2000/svg', tag);
    for (const [name, value] of Object.entries(attributes)) {
      e.setAttribute(name, value);
    }
    if (parent) {
      parent.appendChild(e);
    }
    return e;
  };

  // The best value against the PP budget: each step holds from its PP to the next
  // step's; the current selection is marked with a cross.
  function renderCurve(answer) {
    const steps = answer.curve;
    if (last.objective === 'leastPP') {
      ui.curveBox.hidden = false;
      ui.curveTitle.textContent = '最小PPの探索には曲線がありません';
      return;
    }
    if (steps.length === 0) {
      return;
    }
    ui.curveBox.hidden = false;
    const objective = Object.fromEntries(kObjectives)[last.objective];
    ui.curveTitle.textContent = `予算ごとの最高${objective} (段をクリックでそのビルドを選択)`;
    const width = 420;
    const height = 190;
    const box = { left: 44, right: width - 14, top: 12, bottom: height - 30 };
    const current = answer.current;
    const lastPP = steps[steps.length - 1].pp;
    const maxPP = Math.max(lastPP, current.pp, 1) * 1.12;
    const values = [...steps.map((s) => s.value), current.value];
    let low = Math.min(...values);
    let high = Math.max(...values);
    if (high === low) {
      high += 1;
      low -= 1;
    }
    const pad = (high - low) * 0.08;
    low -= pad;
    high += pad;
    const x = (pp) => box.left + (pp / maxPP) * (box.right - box.left);
    const y = (value) => box.bottom - ((value - low) / (high - low)) * (box.bottom - box.top);
    const plot = ui.curve;
    plot.replaceChildren();
    plot.setAttribute('viewBox', `0 0 ${width} ${height}`);
    plot.setAttribute('width', width);
    plot.setAttribute('height', height);
    svg('rect', { x: box.left, y: box.top, width: box.right - box.left, height: box.bottom - box.top,
                  class: 'plot-frame' }, plot);
    // Axis labels: the PP at the steps' ends, the lowest and highest values.
    const label = (text, at, attributes) => {
      svg('text', { x: at.x, y: at.y, ...attributes }, plot).textContent = text;
    };
    label('0', { x: box.left, y: box.bottom + 14 }, { 'text-anchor': 'middle' });
    // The last step's PP, where it stands clear of the 0.
    if (x(lastPP) - box.left > 28) {
      label(String(lastPP), { x: x(lastPP), y: box.bottom + 14 }, { 'text-anchor': 'middle' });
    }
    label('PP', { x: box.right, y: box.bottom + 26 }, { 'text-anchor': 'end' });
    const valueLow = Math.min(...steps.map((s) => s.value));
    const valueHigh = Math.max(...steps.map((s) => s.value));
    label(String(valueHigh), { x: box.left - 4, y: y(valueHigh) + 4 }, { 'text-anchor': 'end' });
    if (valueLow !== valueHigh) {
      label(String(valueLow), { x: box.left - 4, y: y(valueLow) + 4 }, { 'text-anchor': 'end' });
    }
    let path = `M${x(steps[0].pp).toFixed(1)},${y(steps[0].value).toFixed(1)}`;
    steps.forEach((step, i) => {
      if (i > 0) {
        path += ` V${y(step.value).toFixed(1)}`;
      }
      path += ` H${x(i + 1 < steps.length ? steps[i + 1].pp : maxPP).toFixed(1)}`;
    });
    svg('path', { d: path, class: 'steps' }, plot);
    const cx = x(current.pp);
    const cy = y(current.value);
    svg('path', { d: `M${cx - 4},${cy - 4} L${cx + 4},${cy + 4} M${cx - 4},${cy + 4} L${cx + 4},${cy - 4}`,
                  class: 'current-mark' }, plot);
    label('現在', { x: cx - 6, y: cy - 6 }, { 'text-anchor': 'end', class: 'current-label' });
    steps.forEach((step, i) => {
      const g = svg('g', { class: 'step', 'data-step': i, tabindex: '-1', role: 'button',
                           'aria-label': `${step.pp} PP で ${step.value}` }, plot);
      svg('circle', { cx: x(step.pp), cy: y(step.value), r: 9, class: 'hit' }, g);
      svg('circle', { cx: x(step.pp), cy: y(step.value), r: 3.5, class: 'dot' }, g);
      svg('title', {}, g).textContent = `${step.pp} PP から ${objective} ${step.value}`;
      const choice = () => ({ step: i, answer: step, label: `曲線の段 ${step.pp} PP` });
      g.addEventListener('click', () => pick(choice()));
      g.addEventListener('dblclick', () => {
        pick(choice());
        applyPicked();
      });
    });
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
    ui.results = field(top, '候補数', element('input', { id: 'SearchResults', type: 'number', min: 1,
                                                     max: kResultsMax, value: 10, class: 'num' }));
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
      ui.min[key] = field(minLine, caption, element('input', { type: 'number', min: 0, class: 'num',
                                                              'data-min': key, placeholder: 'なし' }));
    }
    const more = element('div', { class: 'line' }, limits);
    const penalty = element('label', { class: 'field' }, more);
    ui.noPenalty = element('input', { type: 'checkbox', id: 'SearchNoPenalty' }, penalty);
    ui.noPenalty.checked = true;
    penalty.appendChild(document.createTextNode('パワーペナルティなし'));
    ui.budget = field(more, '予算', element('input', { id: 'SearchBudget', type: 'number', min: 0,
                                                     class: 'num wide', placeholder: 'なし' }));
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
    const found = element('div', { class: 'found' }, body);
    const tableBox = element('div', { class: 'table-box' }, found);
    const table = element('table', { id: 'SearchAnswers', tabindex: 0, 'aria-label': '探索の答え' }, tableBox);
    const head = element('tr', {}, element('thead', {}, table));
    for (const caption of ['順位', 'キャラ', ...kStats, '合計', 'ペナルティ', '1W飛距離', '(パワー)', '(パワー×2)', 'PP',
                         '変更']) {
      element('th', {}, head, caption);
    }
    ui.answers = element('tbody', {}, table);
    table.addEventListener('keydown', (event) => {
      const rows = [...ui.answers.querySelectorAll('tr[data-code]')];
      const at = picked && picked.row ? rows.indexOf(picked.row) : -1;
      let to = null;
      if (event.key === 'ArrowDown') {
        to = Math.min(rows.length - 1, at + 1);
      } else if (event.key === 'ArrowUp') {
        to = Math.max(0, at - 1);
      } else if (event.key === 'Enter') {
        event.preventDefault();
        applyPicked();
        return;
      }
      if (to !== null && rows[to]) {
        event.preventDefault();
        rows[to].click();
        rows[to].scrollIntoView({ block: 'nearest' });
      }
    });

    ui.reaches = element('div', { id: 'SearchReaches', hidden: '' }, found);
    element('p', {}, ui.reaches, '条件をすべて満たすビルドはありません。');
    ui.reachList = element('ul', {}, ui.reaches);

    const lower = element('div', { class: 'lower' }, found);
    const changesBox = element('div', { class: 'changes' }, lower);
    ui.changesTitle = element('div', { class: 'heading' }, changesBox, '変更点');
    ui.changes = element('ul', { id: 'SearchChanges' }, changesBox);
    ui.curveBox = element('div', { class: 'curve', hidden: '' }, lower);
    ui.curveTitle = element('div', { class: 'heading' }, ui.curveBox);
    ui.curve = svg('svg', { id: 'SearchCurve', role: 'group', 'aria-label': 'PP と目的の値の関係' }, ui.curveBox);

    const buttons = element('div', { class: 'buttons' }, dialog);
    ui.apply = element('button', { type: 'button', id: 'SearchApply', disabled: '' }, buttons, '適用');
    const close = element('button', { type: 'button', id: 'SearchClose' }, buttons, '閉じる');
    ui.apply.addEventListener('click', applyPicked);
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
    ui.character.options[0].textContent = `表示中のキャラ (${characterName(form.shown)})`;
    if (ui.character.value === 'shown' && form.shown !== shownBefore) {
      showWearRows();
    }
  }

  function open() {
    readForm();
    showWearRows();
    ensureWorker();
    if (!dialog.open) {
      dialog.showModal();
    }
  }

  function install(calls) {
    page = calls;
    build();
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
