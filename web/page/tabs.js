'use strict';
// The page control: a row of tabs over pages, one page shown at a time as the core says;
// a tab brings its page to the front by a click or by the Left and Right keys.

(function (page) {
  const kTabWidth = 40;
  const { element, place, describe } = page;

  function makePageControl(w) {
    const e = element('div', 'w pages');
    place(e, w, true);
    describe(e, w);
    element('div', 'pane', e);
    const bar = element('div', 'tabbar', e);
    bar.setAttribute('role', 'tablist');
    if (w.accessibleName) {
      bar.setAttribute('aria-label', w.accessibleName);
    }
    bar.tabIndex = 0;
    const control = {
      element: e,
      content: e,
      bar,
      tabs: [],
      pages: [],
      shown: -2,
      addPage(pageControl, tabCaption, pageName) {
        const i = this.tabs.length;
        const tab = element('div', 'tab', bar);
        tab.style.left = i * kTabWidth + 'px';
        tab.setAttribute('role', 'tab');
        tab.id = w.name + '-tab' + (i + 1);
        tab.setAttribute('aria-controls', pageName);
        tab.setAttribute('aria-selected', 'false');
        element('div', 'tab-fill', tab);
        const caption = element('span', 'tab-caption', tab);
        caption.textContent = tabCaption;
        tab.addEventListener('mousedown', (event) => {
          if (event.button === 0) {
            event.preventDefault();
            page.closeOpenList();
            page.apply(page.core.showPage(i));
          }
        });
        this.tabs.push({ tab, caption });
        this.pages.push(pageControl);
      },
      settle() {
        // Centred on the fixed tab width, as the window draws it; a caption wider than
        // the tab starts left of it (the division truncates toward zero).
        for (const { caption } of this.tabs) {
          const width = caption.offsetWidth;
          caption.style.left = 1 + Math.trunc((kTabWidth - width) / 2) + 'px';
          caption.style.top = '3px';
        }
      },
      show(part) {
        if (part.v === undefined || part.v === this.shown) {
          return;
        }
        this.shown = part.v;
        this.tabs.forEach(({ tab }, i) => {
          tab.classList.toggle('active', i === part.v);
          tab.setAttribute('aria-selected', String(i === part.v));
        });
        this.pages.forEach((pane, i) => {
          pane.element.hidden = i !== part.v;
        });
        e.dataset.page = part.v;
      },
    };
    // Left and Right on the focused tabs bring the next page on that side to the front.
    bar.addEventListener('keydown', (event) => {
      if (event.key !== 'ArrowLeft' && event.key !== 'ArrowRight') {
        return;
      }
      event.preventDefault();
      const from = control.shown >= 0 ? control.shown : control.tabs.length;
      const to = from + (event.key === 'ArrowLeft' ? -1 : 1);
      if (to >= 0 && to < control.tabs.length) {
        page.apply(page.core.showPage(to));
      }
    });
    bar.addEventListener('mousedown', (event) => event.preventDefault());
    page.pageControl = control;
    return control;
  }

  function makePage(w, index) {
    const e = element('div', 'w page');
    place(e, w, true);
    if (w.name) {
      e.id = w.name;
    }
    e.setAttribute('role', 'tabpanel');
    e.setAttribute('aria-label', w.accessibleName || w.text);
    // Every page stays on view until the first answer picks one, so that the labels
    // on it can measure their texts.
    const control = { element: e, content: e, show() {} };
    page.controls[w.parent].addPage(control, w.text, w.name);
    return control;
  }

  Object.assign(page.makers, { PageControl: makePageControl, Page: makePage });
})(window.kestrelPage);
