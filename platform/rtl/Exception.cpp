#include "platform/rtl/Exception.h"

namespace orlo {

void Abort() { throw EAbort("Operation aborted"); }

} // namespace orlo
