#include "core/shell/form_storage.h"

#include "core/text/ascii.h"

#include <exception>
#include <utility>

namespace norvale {

TFormStorage::TFormStorage(Registry& registry, PlacementWindow& window,
                           std::string decimalSeparator)
    : TFormPlacement(registry, window), FDecimalSeparator(std::move(decimalSeparator)) {}

void TFormStorage::SaveWindowState() {
    TFormPlacement::SaveWindowState();
    SaveStoredProps();
}

void TFormStorage::RestoreWindowState() {
    TFormPlacement::RestoreWindowState();
    RestoreStoredProps();
}

void TFormStorage::SaveStoredProps() {
    for (const TStoredProperty& property : StoredProps) {
        WriteText(property.ValueName(), property.Text());
    }
}

void TFormStorage::RestoreStoredProps() {
    for (const TStoredProperty& property : StoredProps) {
        try {
            const std::string text = ReadText(property.ValueName(), property.Text());
            property.SetText(TrimBlanks(text), FDecimalSeparator);
        } catch (const std::exception&) {
            continue; // e.g. a value of another registry type
        }
    }
}

} // namespace norvale
