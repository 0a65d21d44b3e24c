#pragma once

#include "platform/ChildProcess.h"

#include <QProcess>

namespace tenlog::platform {

// On Linux the child also asks the kernel to end it when the logger dies, so
// a crash leaves no daemon holding the radio's serial port.
class QtChildProcess final : public ChildProcess {
public:
    QtChildProcess();
    ~QtChildProcess() override;

    QString locate(const QString& program) const override;
    void start(const QString& program, const QStringList& arguments) override;
    void stop() override;
    bool isRunning() const override;
    qint64 processId() const override;
    QByteArray output() const override { return output_; }
    void setFinishedHandler(FinishedHandler handler) override;

private:
    void keepOutput();

    QProcess process_;
    QByteArray output_;
    FinishedHandler finished_;
    bool stopping_ = false;
};

}  // namespace tenlog::platform
