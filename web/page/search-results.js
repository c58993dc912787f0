'use strict';
// The build search's results: the answers as a table with the current selection first,
// what each minimum can reach when nothing meets them all, the changes of the picked
// answer or curve step, and the trade-off curve as a step plot. Joined in before
// search.js, which makes them with what they read of the dialog.

(function (kestrel) {
  const kObjectiveColumn = { distance: 'd0', powerDistance: 'd1', pow: 's0', ctrl: 's1', exa: 's2',
                             spin: 's3', cur: 's4', sum: 'sum', leastPP: 'pp' };

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

  // `s`: the dialog's elements (ui), its element maker, its captions (kStats, kMinimums,
  // kObjectives), the page's calls, the dialog, the core's search form and the last
  // finished search as they stand (page, dialog, form, last), readForm() and
  // showStatus(text).
  kestrel.searchResults = function (s) {
    const { ui, element, kStats, kMinimums, kObjectives } = s;
    let picked = null;    // the picked answer or curve step: {answer, label, row or step}

    const characterName = (index) => (index >= 0 && index < s.form.characters.length
      ? s.form.characters[index].caption : '-');
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
      const column = kObjectiveColumn[s.last.objective];
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

    // `soFar`: the best answers so far of a search that still runs; the row the player
    // picked stays picked, and none is picked for them.
    function render(answer, soFar = false) {
      const keep = soFar && picked ? picked.answer.code : null;
      clearAnswers();
      const current = figureRow('現在', characterName(s.last.shownPage), answer.current, null);
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
      const again = keep && [...ui.answers.querySelectorAll('tr[data-code]')].find((tr) => tr.dataset.code === keep);
      const first = soFar ? again : ui.answers.querySelector('tr[data-code]');
      if (first) {
        first.click();
      }
    }

    // Why nothing fits, in the core's words: what to give up, then each minimum's reach.
    function renderReaches(answer) {
      if (answer.feasible || answer.reasons.length === 0) {
        return;
      }
      ui.reaches.hidden = false;
      ui.reachList.replaceChildren();
      const withFigures = answer.reasons.length > answer.reaches.length;
      answer.reasons.forEach((text, i) => {
        const li = element('li', {}, ui.reachList, text);
        li.dataset.min = withFigures && i > 0 ? answer.reaches[i - 1].min : '';
      });
    }

    // The answer or curve step whose changes show and that "適用" applies.
    function pick(choice) {
      picked = choice;
      for (const e of s.dialog.querySelectorAll('.picked')) {
        e.classList.remove('picked');
      }
      ui.changes.replaceChildren();
      ui.apply.disabled = !choice;
      if (!choice) {
        ui.changesTitle.textContent = '変更点';
        if (s.last && s.last.answer) {
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
      const answer = s.page.change(() => s.page.core.applyBuild(picked.answer.code));
      // The shown page may have turned to the answer's character.
      s.readForm();
      if (answer && answer.errors.length === 0) {
        s.showStatus(`${picked.label}のビルドを表示しました (「元に戻す」か Ctrl+Z で戻せます)。`);
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
      if (s.last.objective === 'leastPP') {
        ui.curveBox.hidden = false;
        ui.curveTitle.textContent = '最小PPの探索には曲線がありません';
        return;
      }
      if (steps.length === 0) {
        return;
      }
      ui.curveBox.hidden = false;
      const objective = Object.fromEntries(kObjectives)[s.last.objective];
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


    // The answers' part of the dialog, in `body`: the table, what the minimums reach, the
    // changes of the picked answer and the curve.
    function build(body) {
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
    }

    return { build, render, clearAnswers, applyPicked, characterName };
  };
})(window.kestrelPage);
