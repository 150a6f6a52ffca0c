#pragma once

// Qt wants a private runtime folder (XDG_RUNTIME_DIR) and complains on the
// terminal when the session has none, as under sudo or a bare X server.

namespace veskar {

// When XDG_RUNTIME_DIR is not set, points it at a folder of this user's own
// (mode 0700, never one planted by someone else), made when missing.
void EnsureRuntimeFolder();

} // namespace veskar
