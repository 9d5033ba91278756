#pragma once

#include <QLoggingCategory>

// Diagnostics of the framework, off by default; enable with QT_LOGGING_RULES, e.g.
// "brovik.*.debug=true".
Q_DECLARE_LOGGING_CATEGORY(brovikInstance)
Q_DECLARE_LOGGING_CATEGORY(brovikDocuments)
Q_DECLARE_LOGGING_CATEGORY(brovikPresentation)
