#pragma once

#include <QObject>

class QNetworkAccessManager;

namespace KX::Brovik {

// Makes the network connections of an editor (linked media, cloud documents). The viewer opens
// local files only, so its windows keep the factory without asking it for connections.
class HttpConnectionFactory {
public:
    // A new access manager owned by `parent`.
    QNetworkAccessManager* createConnection(QObject* parent) const;
};

} // namespace KX::Brovik
