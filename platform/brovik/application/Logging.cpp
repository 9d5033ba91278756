#include "platform/brovik/application/Logging.h"

Q_LOGGING_CATEGORY(brovikInstance, "brovik.instance", QtWarningMsg)
Q_LOGGING_CATEGORY(brovikDocuments, "brovik.documents", QtWarningMsg)
Q_LOGGING_CATEGORY(brovikPresentation, "brovik.presentation", QtWarningMsg)
