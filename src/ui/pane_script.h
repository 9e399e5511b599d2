// The script lines that mirror pane-model changes into a page. Every text (HTML from files,
// ids, colours) travels as a JSON-encoded argument of a page function, never as script source.
#pragma once

#include <QString>
#include <QVariantList>

namespace lodestar::ui {

// Registers the skin's scripts, fallback pages and icons (once).
void ensureUiResources();

// "__lodestarPane.<function>.apply(null, <JSON array of the arguments>)".
QString paneCall(const char* function, const QVariantList& arguments);

// The page functions, installed in every pane page before its own scripts run.
QString paneApiScript();
// The link to the program: QWebChannel's client, the bridge object "lodestarBridge", and the
// capture of same-page link clicks and copies.
QString paneBridgeScript();

}  // namespace lodestar::ui
