#include "view/midi_wakeup.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "view/form_canvas.h"

namespace vx::view {

namespace {

void drainOnWindowThread(assembly::MidiHost* host, Dispatcher* dispatcher, QObject* context) {
  std::chrono::microseconds wait{0};
  dispatcher->run([&] { wait = host->drain(); });
  if (wait.count() > 0) {
    const int ms = static_cast<int>((wait.count() + 999) / 1000);
    QTimer::singleShot(ms, context, [host, dispatcher, context] { drainOnWindowThread(host, dispatcher, context); });
  }
}

}  // namespace

std::unique_ptr<assembly::MidiHost> startMidi(Program& p, Dispatcher& dispatcher, QObject* context, FormCanvas& mainCanvas,
                                              bool realPorts) {
  auto host = std::make_unique<assembly::MidiHost>(p, std::function<void()>{}, realPorts);
  assembly::MidiHost* h = host.get();
  QPointer<QObject> guard(context);
  // Runs on a port's thread: only posts.
  h->queue().setWake([h, &dispatcher, guard] {
    if (!guard) return;
    QMetaObject::invokeMethod(guard.data(), [h, &dispatcher, guard] {
      if (guard) drainOnWindowThread(h, &dispatcher, guard.data());
    }, Qt::QueuedConnection);
  });
  h->start();
  control::MidiLearning& learning = h->learning();
  mainCanvas.setFrames({[&learning](const form::Control& c) { return learning.frameOf(c); },
                        [&learning] { return learning.framesSerial(); }});
  return host;
}

}  // namespace vx::view
