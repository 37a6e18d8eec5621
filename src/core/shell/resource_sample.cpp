#include "core/shell/resource_sample.h"

namespace norvale {

std::string ResourceLogLine(const ResourceSample& sample) {
    const char* method = sample.Method == ResourceCountMethod::System ? "system" : "probe";
    return "seconds=" + std::to_string(sample.Seconds) +
           " gdi=" + std::to_string(sample.GdiObjects) +
           " user=" + std::to_string(sample.UserObjects) + " method=" + method +
           " handles=" + std::to_string(sample.Handles) +
           " private_bytes=" + std::to_string(sample.PrivateBytes) +
           " working_set_bytes=" + std::to_string(sample.WorkingSetBytes) +
           " frames=" + std::to_string(sample.FramesPresented) + "\n";
}

} // namespace norvale
