// The clipboard, as far as the plugin asks about it.
#include "host/host.h"

namespace host {

BOOL IsClipboardFormatAvailable(UINT format) { return ::IsClipboardFormatAvailable(format); }

}  // namespace host
