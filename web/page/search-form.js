'use strict';
// The build search dialog's controls, built from the core's description of the dialog
// (the same the window builds from): a fieldset per section, a row per control, a
// toggle and the number it switches on one row, the part toggles in their rows. The
// answers' part (table, changes, curve) is search-results.js's; the buttons of the
// answers stand at the foot of the dialog. Joined in before search.js.

(function (kestrel) {
  const element = kestrel.dialogElement;

  // Builds the dialog of `form` (the description) into a new <dialog>; `results` builds
  // the answers' part into the box it is given. Gives the dialog and its elements by name:
  // {dialog, byName, parts (part key -> checkbox), wear (the wear row's boxes), spare
  // (where the wear parts not shown wait)}.
  kestrel.buildSearchDialog = function (form, results) {
    const dialog = element('dialog', { id: 'SearchDialog', 'aria-labelledby': 'SearchTitle' }, document.body);
    dialog.dataset.state = 'idle';
    element('div', { id: 'SearchTitle', class: 'title' }, dialog, form.title);
    const body = element('div', { class: 'body' }, dialog);
    const query = element('div', { class: 'query' }, body);
    const foot = element('div', { class: 'buttons' });
    const byName = {};
    const parts = {};
    let box = null;    // the section being filled
    let line = null;   // a line of a choice and the buttons after it
    let wear = null;
    let spare = null;
    const controls = form.controls;

    const named = (e, c) => {
      e.id = c.name;
      byName[c.name] = e;
      if (c.hint) {
        e.title = c.hint;
      }
      if (c.accessibleName) {
        e.setAttribute('aria-label', c.accessibleName);
      }
      return e;
    };
    const number = (c, parent) => {
      const input = named(element('input', { type: 'number', class: 'num', inputmode: 'numeric' }, parent), c);
      input.min = c.limit.low;
      input.max = c.limit.high;
      input.step = c.step;
      input.value = c.initial;
      input.dataset.field = c.field;
      input.disabled = c.switch !== '';
      if (c.field.startsWith('min.')) {
        input.dataset.min = c.field.slice(4);
      }
      if (c.suffix) {
        element('span', { class: 'unit' }, parent, c.suffix.trim());
      }
      return input;
    };
    const toggle = (c, parent) => {
      const label = element('label', { class: 'field toggle' }, parent);
      const input = named(element('input', { type: 'checkbox' }, label), c);
      input.removeAttribute('aria-label');
      input.checked = c.initial !== 0;
      label.appendChild(document.createTextNode(c.caption));
      return input;
    };
    const partRow = (c) => {
      const row = named(element('div', { class: 'group' }, box), c);
      row.removeAttribute('title');
      element('span', { class: 'group-caption' }, row, c.caption);
      const boxes = element('span', { class: 'boxes' }, row);
      form.parts.forEach((p) => {
        if (p.group !== c.group) {
          return;
        }
        const label = element('label', { class: 'part' }, boxes);
        const input = element('input', { type: 'checkbox', id: 'SearchFree_' + p.key, 'data-part': p.key }, label);
        input.checked = true;
        label.appendChild(element('span', {}, null, p.caption));
        parts[p.key] = input;
      });
      if (c.group === 0) {
        // The wear parts the chosen character has not wait here, out of sight.
        wear = boxes;
        boxes.id = 'SearchWear';
        spare = element('span', { hidden: '' }, row);
        spare.append(...boxes.children);
      }
    };

    for (let i = 0; i < controls.length; ++i) {
      const c = controls[i];
      if (line && c.kind !== 'Button') {
        line = null;
      }
      if (c.kind === 'Section') {
        box = c.caption ? element('fieldset', { class: 'section' }, query) : element('div', { class: 'found' }, body);
        box.id = c.name;
        if (c.caption) {
          element('legend', {}, box, c.caption);
        }
        continue;
      }
      switch (c.kind) {
        case 'PartRow':
          partRow(c);
          break;
        case 'Choice': {
          line = element('div', { class: 'line' }, box);
          const label = element('label', { class: 'field' }, line, c.caption || undefined);
          const select = named(element('select', {}, label), c);
          c.choices.forEach((text, n) => element('option', { value: c.values[n] }, select, text));
          select.selectedIndex = c.initial;
          select.dataset.field = c.field;
          if (c.caption) {
            select.removeAttribute('aria-label');
          }
          break;
        }
        case 'Button': {
          const parent = box.classList.contains('found') ? foot : (line || (line = element('div', { class: 'line' }, box)));
          const button = named(element('button', { type: 'button' }, parent, c.caption), c);
          button.classList.toggle('main', c.default);
          break;
        }
        case 'Toggle': {
          const row = element('div', { class: 'line' }, box);
          toggle(c, row);
          if (controls[i + 1] && controls[i + 1].switch === c.name) {
            number(controls[++i], row);
          }
          break;
        }
        case 'Number': {
          const row = element('div', { class: 'line' }, box);
          const label = element('label', { class: 'field' }, row, c.caption);
          number(c, label).removeAttribute('aria-label');
          break;
        }
        case 'Progress': {
          const progressBox = element('span', { id: 'SearchProgressBox', hidden: '' }, element('div', { class: 'line' }, box));
          named(element('progress', { max: 1, value: 0 }, progressBox), c);
          element('span', { class: 'percent' }, progressBox);
          byName.SearchProgressBox = progressBox;
          break;
        }
        case 'Status':
          named(element('div', { role: 'status', 'aria-live': 'polite' }, box), c);
          break;
        default:
          // The answers' part: message, table, changes and curve.
          named(results(c, box), c);
          break;
      }
    }
    dialog.appendChild(foot);
    return { dialog, byName, parts, wear, spare };
  };

  kestrel.searchElement = element;
})(window.kestrelPage);
