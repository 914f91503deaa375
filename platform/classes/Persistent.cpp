#include "platform/classes/Persistent.h"

#include "platform/classes/TypInfo.h"
#include "platform/rtl/SysUtils.h"

namespace orlo {

ORLO_PUBLISHED(TPersistent, "Classes") {}

void TPersistent::Assign(TPersistent* Source) {
    if (!Source)
        AssignError(nullptr);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const {
    Dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* Source) const {
    const String SourceName = Source ? Source->ClassName() : String("nil");
    throw EConvertError(Format("Cannot assign a %s to a %s", SourceName, ClassName()));
}

String TPersistent::GetNamePath() const {
    String Path = ClassName();
    if (TPersistent* Owner = GetOwner()) {
        String OwnerPath = Owner->GetNamePath();
        if (!OwnerPath.empty())
            Path = OwnerPath + "." + Path;
    }
    return Path;
}

} // namespace orlo
