#include "platform/brovik/document/HttpConnectionFactory.h"

#include <QNetworkAccessManager>

namespace KX::Brovik {

QNetworkAccessManager* HttpConnectionFactory::createConnection(QObject* parent) const {
    return new QNetworkAccessManager(parent);
}

} // namespace KX::Brovik
