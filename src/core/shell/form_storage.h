#pragma once

#include "core/shell/form_placement.h"
#include "core/shell/stored_property.h"

#include <string>
#include <vector>

namespace norvale {

// A placement store that also keeps the properties listed in StoredProps, in list order,
// after the placement values.
class TFormStorage : public TFormPlacement {
public:
    // decimalSeparator: the locale's, for reading stored date-times back.
    TFormStorage(Registry& registry, PlacementWindow& window, std::string decimalSeparator);

    std::vector<TStoredProperty> StoredProps;

protected:
    void SaveWindowState() override;
    void RestoreWindowState() override;
    virtual void SaveStoredProps();
    // A property whose value cannot be read or parsed keeps its value; the rest go on.
    virtual void RestoreStoredProps();

private:
    std::string FDecimalSeparator;
};

} // namespace norvale
