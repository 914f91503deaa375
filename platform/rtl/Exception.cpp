#include "platform/rtl/Exception.h"

#include "platform/rtl/Method.h"

namespace orlo {

void Abort() {
    throw EAbort("Operation aborted");
}

void RaiseUnassignedCall(const char* TypeName) {
    throw EAccessViolation(String("Call of an unassigned ") + TypeName);
}

} // namespace orlo
