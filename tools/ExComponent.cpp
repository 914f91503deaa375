#include "tools/ExComponent.h"

#include "platform/classes/TypInfo.h"
#include "tools/VersionControl.h"

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /tools/ExComponent.cpp 1.0 10.12.26 07:00 orlo $");

} // namespace

ORLO_PUBLISHED(TExComponent, "ExComponent") {}

} // namespace orlo
