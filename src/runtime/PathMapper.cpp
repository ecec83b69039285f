#include "runtime/PathMapper.h"

std::shared_ptr<void> PathMapper::pin(const HostPath &folder)
{
    return m_pins.hold(folder.native(), [] { return std::make_shared<char>(); });
}
