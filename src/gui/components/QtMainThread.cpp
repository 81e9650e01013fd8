#include "gui/components/QtMainThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <utility>

namespace probex {

QtMainThread::QtMainThread(QObject* context) : m_context(context) {}

QObject* QtMainThread::context() const {
    return m_context ? m_context : QCoreApplication::instance();
}

void QtMainThread::call(const std::function<void()>& procedure) {
    QObject* target = context();
    if (target == nullptr || QThread::currentThread() == target->thread()) {
        procedure();
        return;
    }
    QMetaObject::invokeMethod(
        target, [&procedure] { procedure(); }, Qt::BlockingQueuedConnection);
}

void QtMainThread::post(std::function<void()> procedure) {
    QObject* target = context();
    if (target == nullptr) {
        procedure();
        return;
    }
    QMetaObject::invokeMethod(target, std::move(procedure), Qt::QueuedConnection);
}

} // namespace probex
