#include "platform/dialogs.h"

namespace vx::platform {

const char* buttonsName(MsgButtons b) {
  switch (b) {
    case MsgButtons::OK: return "OK";
    case MsgButtons::OKCancel: return "OKCancel";
    case MsgButtons::YesNoCancel: return "YesNoCancel";
    case MsgButtons::YesNo: return "YesNo";
    case MsgButtons::RetryCancel: return "RetryCancel";
  }
  return "?";
}

const char* iconName(MsgIcon i) {
  switch (i) {
    case MsgIcon::None: return "none";
    case MsgIcon::Critical: return "critical";
    case MsgIcon::Question: return "question";
    case MsgIcon::Warning: return "warning";
    case MsgIcon::Information: return "information";
  }
  return "?";
}

const char* resultName(MsgResult r) {
  switch (r) {
    case MsgResult::OK: return "ok";
    case MsgResult::Cancel: return "cancel";
    case MsgResult::Retry: return "retry";
    case MsgResult::Yes: return "yes";
    case MsgResult::No: return "no";
  }
  return "?";
}

}  // namespace vx::platform
