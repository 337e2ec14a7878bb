/* Pictalon: opens the pictures of a Modern gallery page in PhotoSwipe, over the page. Without
   this script (or without scripts at all) each link still opens its picture. The page loads only
   the small lightbox part; the viewer itself and its style sheet, which lie beside this file,
   are loaded at the first click. */
(function () {
  "use strict";
  if (!window.PhotoSwipeLightbox || !document.currentScript) return;
  var folder = document.currentScript.src.replace(/[^/]*$/, "");

  function load(tag, properties) {
    return new Promise(function (resolve, reject) {
      var element = document.createElement(tag);
      Object.keys(properties).forEach(function (name) { element[name] = properties[name]; });
      element.onload = resolve;
      element.onerror = reject;
      document.head.appendChild(element);
    });
  }
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

  var lightbox = new window.PhotoSwipeLightbox({
    gallery: ".md-grid",
    children: "a[data-pswp-width]",
    pswpModule: loadViewer,
    preload: [1, 2],
    bgOpacity: 0.92,
    closeTitle: "Close (Esc)",
    zoomTitle: "Zoom",
    arrowPrevTitle: "Previous picture",
    arrowNextTitle: "Next picture",
    errorMsg: "The picture cannot be loaded."
  });

  // The caption of the picture's cell, under the picture.
  lightbox.on("uiRegister", function () {
    lightbox.pswp.ui.registerElement({
      name: "md-caption",
      order: 9,
      isButton: false,
      appendTo: "root",
      onInit: function (element, pswp) {
        // Its text stays light on the viewer's dark ground, whatever text colour the pages use.
        element.classList.add("md-caption");
        element.style.color = "#ffffff";
        element.setAttribute("aria-live", "polite");
        pswp.on("change", function () {
          var link = pswp.currSlide.data.element;
          var caption = link && link.closest("figure") && link.closest("figure").querySelector("figcaption");
          var source = caption && (caption.querySelector("a[data-pswp-width]") || caption);
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
}());
