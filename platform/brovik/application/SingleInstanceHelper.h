#pragma once

#include "platform/brovik/application/FileOpenInfo.h"

#include <QLocalServer>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

namespace KX::Brovik {

// Makes one running instance per user serve every start: a later start hands its request over a
// local socket to the running instance and ends.
class SingleInstanceHelper : public QObject {
    Q_OBJECT
public:
    SingleInstanceHelper(QStringList paths, bool openInBackground, QObject* parent = nullptr);
    ~SingleInstanceHelper() override;

    // Returns false when a running instance took the request. Otherwise this instance starts serving,
    // calls `onServing` (where the owner typically hands this object to the application), and
    // delivers its own request through fileOpenWithActionEvent: one signal per path, or one with an
    // empty path when no document was asked for.
    bool initialize(const std::function<void()>& onServing);

    // The application property holding the key that names the service.
    static constexpr const char* KeyProperty = "brovikApplicationKey";
    // Where the instance listens: a socket in the user's runtime directory named after the key.
    static QString serverName();

    // True while a request that asked for background windows is being delivered: its windows start
    // minimised.
    bool isCurrentRequestInBackground() const { return _currentRequestInBackground; }

signals:
    void fileOpenWithActionEvent(const KX::Brovik::FileOpenInfo& info);

private:
    enum class Forwarding { Forwarded, NoInstance, InstanceNotAnswering };
    Forwarding forwardToRunningInstance() const;
    bool listen();
    void onNewConnection();
    void deliver(const QStringList& paths, bool openInBackground, const std::shared_ptr<void>& tracking);

    QStringList _paths;
    bool _openInBackground;
    QLocalServer* _server = nullptr;
    bool _currentRequestInBackground = false;
};

} // namespace KX::Brovik
