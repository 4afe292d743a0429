#pragma once
// Mouse and drop input in the models' terms.
#include <QMimeData>
#include <QMouseEvent>
#include <string>
#include <vector>

#include "form/control.h"

namespace vx::view {

form::MouseButton buttonOf(Qt::MouseButton button);
// The button a move reports: the first held one, left before right before middle.
form::MouseButton heldButton(Qt::MouseButtons buttons);

// The local files and folders a drop carries (text/uri-list); empty when it carries none.
std::vector<std::string> droppedPaths(const QMimeData* data);

}  // namespace vx::view
