/* Pictalon: opens the pictures of a Modern gallery page in PhotoSwipe, over the page. Without
   this script (or without scripts at all) each link still opens its picture. The viewer's files
   lie beside this one and are loaded only when a visitor comes near a picture (a pointer over
   the grid, a touch, the keyboard focus), so a page that is only looked at runs no more script. */
(function () {
  "use strict";
  var grid = document.querySelector(".md-grid");
  if (!grid || !document.currentScript || !window.Promise) return;
  var folder = document.currentScript.src.replace(/[^/]*$/, "");
  var links = "a[data-pswp-width]";

  function load(tag, properties) {
    return new Promise(function (resolve, reject) {
      var element = document.createElement(tag);
      Object.keys(properties).forEach(function (name) { element[name] = properties[name]; });
      element.onload = resolve;
      element.onerror = reject;
      document.head.appendChild(element);
    });
  }

  // The viewer itself and its style sheet, once, at the first opening.
  var viewer = null;
  function loadViewer() {
    if (!viewer) {
      viewer = Promise.all([
        load("script", { src: folder + "photoswipe.umd.min.js" }),
        load("link", { rel: "stylesheet", href: folder + "photoswipe.css" })
      ]).then(function () { return window.PhotoSwipe; });
    }
    return viewer;
  }

  function setUp() {
    var lightbox = new window.PhotoSwipeLightbox({
      gallery: grid,
      children: links,
      pswpModule: loadViewer,
      preload: [1, 2],
      bgOpacity: 0.94,
      closeTitle: "Close (Esc)",
      zoomTitle: "Zoom",
      arrowPrevTitle: "Previous picture",
      arrowNextTitle: "Next picture",
      errorMsg: "The picture cannot be loaded."
    });

    // The caption of the picture's cell, under the picture, light on the viewer's dark ground
    // whatever text colour the pages use.
    lightbox.on("uiRegister", function () {
      lightbox.pswp.ui.registerElement({
        name: "md-caption",
        order: 9,
        isButton: false,
        appendTo: "root",
        onInit: function (element, pswp) {
          element.classList.add("md-caption");
          element.style.color = "#ffffff";
          element.setAttribute("aria-live", "polite");
          pswp.on("change", function () {
            var link = pswp.currSlide.data.element;
            var caption = link && link.closest("figure") && link.closest("figure").querySelector("figcaption");
            var source = caption && (caption.querySelector(links) || caption);
            element.innerHTML = source ? source.innerHTML : "";
            element.hidden = !caption;
          });
        }
      });
    });

    // The viewer is a labelled dialog, and Back in the browser closes it.
    var closedByBack = false;
    lightbox.on("afterInit", function () {
      lightbox.pswp.element.setAttribute("aria-label", "Picture viewer");
      closedByBack = false;
      history.pushState({ pictalonViewer: true }, "");
    });
    lightbox.on("close", function () {
      if (!closedByBack && history.state && history.state.pictalonViewer) history.back();
    });
    window.addEventListener("popstate", function () {
      if (lightbox.pswp) {
        closedByBack = true;
        lightbox.pswp.close();
      }
    });

    lightbox.init();
    return lightbox;
  }

  var lightbox = null;
  var starting = null;
  function start() {
    if (!starting) {
      starting = load("script", { src: folder + "photoswipe-lightbox.umd.min.js" }).then(function () {
        lightbox = setUp();
        return lightbox;
      });
    }
    return starting;
  }
  ["pointerover", "touchstart", "focusin"].forEach(function (type) {
    grid.addEventListener(type, start, { once: true, passive: true });
  });
  // A click that comes before the lightbox is ready opens the viewer once it is; from then on
  // the lightbox takes the clicks itself.
  grid.addEventListener("click", function (event) {
    var link = event.target.closest(links);
    if (lightbox || !link || event.button !== 0 || event.ctrlKey || event.metaKey || event.shiftKey || event.altKey) return;
    event.preventDefault();
    var index = Array.prototype.indexOf.call(grid.querySelectorAll(links), link);
    start().then(function (ready) { ready.loadAndOpen(index, { gallery: grid }); });
  });
}());
