// The file dialogs' filters: the stored "text|pattern" form as Qt's.
#include "platform/qt/QtPrompter.h"

#include <gtest/gtest.h>

#include <utility>

namespace vrk {
namespace {

TEST(QtPrompter, PipeFiltersBecomeQtFilters) {
  const std::pair<const char*, const char*> cases[] = {
      {"MXA files (*.mxa)|*.mxa|MAZ files (*.maz)|*.maz|ALL files (*.*)|*.*",
       "MXA files (*.mxa);;MAZ files (*.maz);;ALL files (*)"},
      {"MXH files (*.mxh)|*.mxh| MHZ (*.mhz) | *.mhz | ALL files (*.*)|*.*",
       "MXH files (*.mxh);;MHZ (*.mhz);;ALL files (*)"},
      // The pattern of "compress Holder" is missing: its own parentheses stand in.
      {"Holder(*.mxh)|*.mxh|compress Holder(*.mhz)|ALL files (*.*)|*.*",
       "Holder (*.mxh);;compress Holder (*.mhz);;ALL files (*)"},
      {"JPEG(*.jpg)|*.jpg;*.jpe;*.jpeg|Text", "JPEG (*.jpg *.jpe *.jpeg);;Text (*)"},
      {"*.csv|Text(*.txt)|*.txt", "*.csv (*.csv);;Text (*.txt)"},
      {"CSV (*.csv);;All (*)", "CSV (*.csv);;All (*)"},
  };
  for (const auto& [pipe, qt] : cases) EXPECT_EQ(qtFileFilter_(pipe).toStdString(), qt) << pipe;
}

}  // namespace
}  // namespace vrk
