#pragma once

namespace tessera {

// Makes a WebGL 2 context on the page's canvas with this selector and makes it current:
// opaque, with a depth buffer, without stencil or antialiasing. False where the browser
// offers none.
bool makeWebGl2Context(const char* canvasSelector);

} // namespace tessera
