// link.dll: the link over the C012's ports (or a simulated C012).
#include "boards/include/link_exports_win32.h"
#include "boards/link/link_adapter.h"
#include "boards/link/port_backend_win32.h"

namespace board {

LinkFunctions& TheLink() {
  static LinkAdapter link(SelectedPorts());
  return link;
}

}  // namespace board
