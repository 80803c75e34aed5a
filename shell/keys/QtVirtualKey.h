#pragma once

class QKeyEvent;

namespace zelvo {

// The virtual-key code of a key press (the codes the page keys are configured in), or 0 for a
// key that has none here.
int VirtualKeyOf(const QKeyEvent& event);

}  // namespace zelvo
