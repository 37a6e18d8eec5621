#pragma once

namespace norvale {

// Which mouse button a press or release was made with.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

} // namespace norvale
