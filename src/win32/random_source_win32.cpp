#include "win32/random_source_win32.h"

#include "win32/system_error_text.h"
#include "win32/win32_common.h"

#include <bcrypt.h>
#include <stdexcept>
#include <winternl.h>

namespace norvale::win32 {

std::uint32_t Win32RandomSource::Random32() {
    std::uint32_t value = 0;
    const NTSTATUS status = BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&value), sizeof value,
                                            BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    if (!BCRYPT_SUCCESS(status)) {
        throw std::runtime_error(SystemErrorText(RtlNtStatusToDosError(status)));
    }
    return value;
}

} // namespace norvale::win32
