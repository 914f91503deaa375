#pragma once
// TExComponent: the base of the tool library's non-visual components. Such a
// component calls out to event handlers while it works (a configuration file
// around each load and save), and a handler may free the component, directly
// or by closing the form that owns it. The base hands out a watch that expires
// when the component is destroyed, so that the caller stops touching it.

#include "platform/classes/Component.h"
#include "platform/rtl/Exception.h"

#include <memory>

namespace orlo {

// A misuse that the program must not go on with, such as a load of a
// configuration file started while one of it is running.
ORLO_EXCEPTION(ECriticalError, Exception);

// Expires when the component it was taken from is destroyed.
using TLifeWatch = std::weak_ptr<const bool>;

class TExComponent : public TComponent {
    ORLO_CLASS(TExComponent, TComponent)
public:
    explicit TExComponent(TComponent* AOwner) : TComponent(AOwner) {}

    TLifeWatch LifeWatch() const noexcept { return FLife; }
    bool IsDesigning() const noexcept { return ComponentState().Contains(csDesigning); }
    bool IsLoading() const noexcept { return ComponentState().Contains(csLoading); }

private:
    std::shared_ptr<const bool> FLife = std::make_shared<const bool>(true);
};

} // namespace orlo
