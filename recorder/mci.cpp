#include "recorder/mci.h"

namespace vx::recorder {

long sendMciCommand(Program& p, const std::string& command, std::string& text) {
  if (command.empty()) {
    text = "コマンド文字列が指定されていません";
    return -1;
  }
  platform::RecordingDevice* device = p.ports.recorder;
  if (!device) {
    text = "録音デバイスがありません。";
    return kNoRecordingDevice;
  }
  std::string answer;
  long code = device->sendCommand(command, answer);
  if (code == 0) {
    text = answer.substr(0, answer.find('\0'));
    return 0;
  }
  text = device->errorText(code);
  if (text.empty()) text = "Error (文字列が取れません)";
  return code;
}

}  // namespace vx::recorder
