<script>
/* Pictalon: keeps the browser's context menu off the pictures of this gallery. */
(function () {
  "use strict";
  function onPicture(target) {
    return target instanceof Element && target.closest("img") !== null;
  }
  document.addEventListener("contextmenu", function (event) {
    if (onPicture(event.target)) {
      event.preventDefault();
    }
  }, true);
}());
</script>
