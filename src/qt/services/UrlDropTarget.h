#pragma once

// A widget that takes a dragged web address: a drop target with the one format
// "UniformResourceLocator" (copy only), handing the dropped address on.

#include <cstddef>
#include <functional>
#include <string>

class QWidget;

namespace zentabo {

class TOleDropTarget;

// Longer text is no address (browsers stop far below); such a drop changes nothing.
inline constexpr size_t kMaxDroppedUrlBytes = 2 * 1024 * 1024;

// Attaches a loaded drop target to control, owned by it. onUrl gets the dropped
// address as code page 932 text, untrimmed.
TOleDropTarget* AttachUrlDropTarget(QWidget* control,
                                    std::function<void(const std::string& url)> onUrl);

}  // namespace zentabo
