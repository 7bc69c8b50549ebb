#include "shell/CommandFrame.h"

#include <exception>
#include <string>

#include "shell/TFormMainBase0007.h"

namespace vrk {

std::optional<int> refusalOf_(TFormMainBase0007& form, const CommandSpec& spec) {
  const auto refused = [&](int code) { return spec.refusedResult.value_or(code); };
  if ((spec.checks & kCheckBusy) && form.isBusy()) return spec.busyResult;
  if ((spec.checks & kCheckUIReadOnly) && form.checkUIReadOnly())
    return refused(kRefusedUIReadOnly);
  if ((spec.checks & kCheckHolderReadOnly) && form.checkHolderReadOnly())
    return refused(kRefusedHolderReadOnly);
  if ((spec.checks & kCheckHolder) && !form.getCurHolder()) return refused(kRefusedNoHolder);
  return std::nullopt;
}

int runCommand_(TFormMainBase0007& form, const CommandSpec& spec,
                const std::function<int()>& body) {
  const std::string name(spec.name);
  const auto failed = [&](const char* why) {
    const std::string text = "Failure: " + name + " " + why;
    form.addLogDT_(text);
    form.messageDoing_(text);
    return kCommandFailed;
  };
  try {
    if (const std::optional<int> refusal = refusalOf_(form, spec)) return *refusal;
    if (spec.checks & kCommitBefore) form.UI2Model();
    const int result = body();
    if (spec.checks & kRefreshAfter) form.Model2UI();
    return result;
  } catch (const std::exception& e) {
    return failed(e.what());
  } catch (...) {
    return failed("unknown exception");
  }
}

}  // namespace vrk
