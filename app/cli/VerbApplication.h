#pragma once

#include <QGuiApplication>
#include <memory>

namespace tvl {

// Text needs the font database, which needs a GUI application; a verb runs one offscreen so that it
// needs no display. Nothing when an application already exists.
std::unique_ptr<QGuiApplication> EnsureGuiApplication();

} // namespace tvl
