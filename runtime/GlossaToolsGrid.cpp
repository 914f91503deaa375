// The part of the language manager's unit that needs the forms layer; it is
// compiled only when the forms layer is (ORLO_WITH_FORMS).
#include "runtime/GlossaTools.h"

#include "platform/forms/Grids.h"

namespace orlo {

void AdjustGridDefaultRowHeight(TCustomGrid* Grid) {
    Grid->Canvas()->SetFont(Grid->Font());
    Grid->SetDefaultRowHeight(Grid->Canvas()->TextHeight("ABC") + 4);
}

} // namespace orlo
