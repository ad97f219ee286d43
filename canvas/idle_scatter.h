#pragma once

namespace tessera {

// Seconds without pointer motion after which the shapes fly off, unless told otherwise; a
// recording that does not say plays with it too.
constexpr double defaultIdleScatterSeconds = 27.0;

} // namespace tessera
