#include "runtime/PathMapper.h"

std::shared_ptr<void> PathMapper::pin(const HostPath &folder)
{
    std::shared_ptr<void> held = m_pins.value(folder.native()).lock();
    if (!held) {
        m_pins.removeIf([](const auto &pin) { return pin.value().expired(); });
        held = std::make_shared<char>();
        m_pins.insert(folder.native(), held);
    }
    return held;
}
