'use strict';
// The build search's results: the answers as a table with the current selection first
// (in the touch layout each row a card), what each minimum can reach when nothing meets
// them all, the changes of the picked answer or curve step, and the trade-off curve as a
// step plot. Texts and columns come from the core's description of the dialog. Joined
// in before search.js, which makes them with what they read of the dialog.

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

  // `s`: the dialog's elements (ui), its element maker, text(key, ...figures) of the
  // description, the page's calls, the dialog, the core's search form and the last
  // finished search as they stand (page, dialog, form, last), readForm() and
  // showStatus(text).
  kestrel.searchResults = function (s) {
    const { ui, element, text } = s;
    let picked = null;    // the picked answer or curve step: {answer, label, row or step}
    let stale = false;    // the answers shown are of another query than the controls'
    const choicesOf = (field) => {
      const c = s.form.controls.find((control) => control.field === field);
      return Object.fromEntries(c.values.map((value, i) => [value, c.choices[i]]));
    };

    const characterName = (index) => (index >= 0 && index < s.form.characters.length
      ? s.form.characters[index].caption : '-');
    const sum = (final) => final.reduce((a, b) => a + b, 0);
    const penaltyText = (penalty) => (penalty < 0 ? String(penalty) : '');

    // A cell; in the touch layout's cards its column's caption stands before it.
    function cell(row, text, column) {
      const td = document.createElement('td');
      td.textContent = text;
      td.dataset.column = column;
      td.dataset.label = s.form.columns[row.children.length];
      row.appendChild(td);
      return td;
    }

    // In the view of what to get next, an answer's gain over the best from what is owned.
    function gainText(gain) {
      if (gain === undefined) {
        return '';
      }
      if (gain === null) {
        return text('gainNone');
      }
      // Signed: an answer that must acquire something may do worse than what is owned alone.
      if (s.last.objective === 'leastPP') {
        return text(gain >= 0 ? 'gainPP' : 'gainPPMore', Math.abs(gain));
      }
      return text('gain', (gain >= 0 ? '+' : '-') + Math.abs(gain), unitOf(s.last.objective));
    }
    const unitOf = (objective) => (objective === 'distance' || objective === 'powerDistance' ? 'y' : '');

    function figureRow(rank, character, figures, changes, texts, acquired = [], gain = '') {
      const tr = document.createElement('tr');
      cell(tr, rank, 'rank');
      cell(tr, character, 'character');
      figures.final.forEach((value, i) => cell(tr, String(value), 's' + i));
      cell(tr, String(sum(figures.final)), 'sum');
      cell(tr, penaltyText(figures.penalty), 'penalty');
      figures.distances.forEach((value, i) => cell(tr, value + 'y', 'd' + i));
      cell(tr, String(figures.pp), 'pp');
      cell(tr, changes === null ? '' : String(changes), 'changes');
      cell(tr, acquired.join(' / '), 'acquired');
      cell(tr, gain, 'gain');
      cell(tr, texts.join(' / '), 'changeTexts').title = texts.join('\n');
      const column = kObjectiveColumn[s.last.objective];
      for (const td of tr.querySelectorAll(`[data-column="${column}"]`)) {
        td.classList.add('objective');
      }
      return tr;
    }

    function clearAnswers() {
      ui.answers.replaceChildren();
      ui.reaches.hidden = true;
      ui.note.hidden = true;
      ui.reachList.replaceChildren();
      ui.curveBox.hidden = true;
      ui.curve.replaceChildren();
      markStale(false);
      pick(null);
    }

    // The query changed since the answers shown were found: they stay in sight, greyed,
    // and no longer apply.
    function markStale(on = true) {
      stale = on;
      s.dialog.classList.toggle('stale', on);
      if (on) {
        pick(null, true);
        s.showStatus(text('stale'));
      }
    }

    // `soFar`: the best answers so far of a search that still runs; the row the player
    // picked stays picked, and none is picked for them.
    function render(answer, soFar = false) {
      const keep = soFar && picked ? picked.answer.code : null;
      clearAnswers();
      const current = figureRow(text('currentRow'), characterName(s.last.shownPage), answer.current, null,
                                [text('currentChanges')]);
      current.classList.add('current');
      current.addEventListener('click', () => pick(null, true));
      ui.answers.appendChild(current);
      // The columns of holdings show where a search within them fills them.
      const table = ui.answers.parentElement;
      table.classList.toggle('within', answer.answers.some((a) => a.acquired !== undefined));
      table.classList.toggle('next-to-get', 'ownedBest' in answer);
      renderNote(answer, soFar);
      answer.answers.forEach((a) => {
        const tr = figureRow(`${a.rank}位`, characterName(a.character), a, a.changes.length,
                             a.changes.length > 0 ? a.changes : [text('noChange')], a.acquired,
                             gainText(a.gain));
        tr.dataset.code = a.code;
        tr.dataset.rank = a.rank;
        tr.tabIndex = -1;
        const choice = () => ({ row: tr, answer: a, label: `${a.rank}位`, heading: text('changesOf', a.rank) });
        tr.addEventListener('click', () => pick(choice()));
        tr.addEventListener('dblclick', () => {
          pick(choice());
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

    // In the view of what to get next, what the gains are measured from; or that there
    // is nothing to measure without holdings.
    function renderNote(answer, soFar) {
      ui.note.hidden = soFar || JSON.parse(s.last.query).distinct !== 'acquired' || !answer.feasible;
      if (!('ownedBest' in answer)) {
        ui.note.textContent = text('noHoldings');
      } else if (answer.ownedBest === null) {
        ui.note.textContent = text('ownedNone');
      } else {
        const unit = s.last.objective === 'leastPP' ? ' PP' : unitOf(s.last.objective);
        ui.note.textContent = text('ownedBest', answer.ownedBest, unit);
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

    // The answer or curve step whose changes show and that "適用" applies; `current`:
    // the first row, the selection the search started from, was picked.
    function pick(choice, current = false) {
      if (stale && choice) {
        return;
      }
      picked = choice;
      for (const e of s.dialog.querySelectorAll('.picked')) {
        e.classList.remove('picked');
      }
      ui.changes.replaceChildren();
      ui.apply.disabled = !choice;
      if (!choice) {
        ui.changesTitle.textContent = text('changesTitle');
        if (current && !stale) {
          ui.answers.querySelector('tr.current')?.classList.add('picked');
          const li = document.createElement('li');
          li.textContent = text('currentPicked');
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
      const hint = s.page.touch && s.page.touch.on ? text('applyHintTouch') : text('applyHint');
      ui.changesTitle.textContent = `${choice.heading} ${hint}`;
      // What it needs that the player does not own first, apart from the changes.
      const texts = [...(choice.answer.acquired || []).map((thing) => text('acquiredLine', thing)),
                     ...(choice.answer.changes.length > 0 ? choice.answer.changes : [text('noChange')])];
      for (const text of texts) {
        const li = document.createElement('li');
        li.textContent = text;
        ui.changes.appendChild(li);
      }
    }

    function applyPicked() {
      if (!picked || stale) {
        return;
      }
      const answer = s.page.change(() => s.page.core.applyBuild(picked.answer.code));
      // The shown page may have turned to the answer's character; the minimums that are
      // off take the new figures.
      s.readForm();
      if (answer && answer.errors.length === 0) {
        s.showStatus(text('applied', picked.label));
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
        ui.curveTitle.textContent = text('curveLeastPP');
        return;
      }
      if (steps.length === 0) {
        return;
      }
      ui.curveBox.hidden = false;
      const objective = choicesOf('objective')[s.last.objective];
      const unit = unitOf(s.last.objective);
      ui.curveTitle.textContent = text('curveTitle', objective);
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
      label(text('currentRow'), { x: cx - 6, y: cy - 6 }, { 'text-anchor': 'end', class: 'current-label' });
      steps.forEach((step, i) => {
        const g = svg('g', { class: 'step', 'data-step': i, tabindex: '-1', role: 'button',
                             'aria-label': `${step.pp} PP で ${step.value}` }, plot);
        // A finger needs a wider target than a mouse: 22 px on the screen, as drawn.
        const scale = plot.getBoundingClientRect().width / width || 1;
        const reach = s.page.touch && s.page.touch.on ? 22 / scale : 9;
        svg('circle', { cx: x(step.pp), cy: y(step.value), r: reach, class: 'hit' }, g);
        svg('circle', { cx: x(step.pp), cy: y(step.value), r: 3.5, class: 'dot' }, g);
        svg('title', {}, g).textContent = text('curveStep', step.pp, objective, step.value + unit);
        const choice = () => ({ step: i, answer: step, label: `曲線の段 ${step.pp} PP `,
                                heading: text('stepChangesOf', step.pp, step.value + unit) });
        g.addEventListener('click', () => pick(choice()));
        g.addEventListener('dblclick', () => {
          pick(choice());
          applyPicked();
        });
      });
    }


    // A part of the answers, described by `c`, into `box`: the message, the table, the
    // changes or the curve (the last two side by side). Gives the element named by `c`.
    function build(c, box) {
      switch (c.kind) {
        case 'Message':
          ui.reaches = element('div', { hidden: '' }, box);
          element('p', {}, ui.reaches, '条件をすべて満たすビルドはありません。');
          ui.reachList = element('ul', {}, ui.reaches);
          ui.note = element('p', { class: 'note', hidden: '' }, box);
          return ui.reaches;
        case 'Answers': {
          const tableBox = element('div', { class: 'table-box' }, box);
          const table = element('table', { tabindex: 0 }, tableBox);
          const head = element('tr', {}, element('thead', {}, table));
          const keys = ['rank', 'character', 's0', 's1', 's2', 's3', 's4', 'sum', 'penalty', 'd0', 'd1', 'd2',
                        'pp', 'changes', 'acquired', 'gain', 'changeTexts'];
          s.form.columns.forEach((caption, i) => {
            element('th', {}, head, caption).dataset.column = keys[i];
          });
          ui.answers = element('tbody', {}, table);
          table.addEventListener('keydown', keyOnTable);
          return table;
        }
        case 'Changes': {
          ui.lower = ui.lower || element('div', { class: 'lower' }, box);
          const changesBox = element('div', { class: 'changes' }, ui.lower);
          ui.changesTitle = element('div', { class: 'heading' }, changesBox, text('changesTitle'));
          ui.changes = element('ul', {}, changesBox);
          return ui.changes;
        }
        default: {
          ui.lower = ui.lower || element('div', { class: 'lower' }, box);
          ui.curveBox = element('div', { class: 'curve', hidden: '' }, ui.lower);
          ui.curveTitle = element('div', { class: 'heading' }, ui.curveBox);
          ui.curve = svg('svg', { role: 'group' }, ui.curveBox);
          return ui.curve;
        }
      }
    }

    // Up and down pick the next answer, Enter applies it.
    function keyOnTable(event) {
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
    }

    return { build, render, clearAnswers, markStale, applyPicked, characterName, get stale() { return stale; } };
  };
})(window.kestrelPage);
