#include "shell/NodeBodies.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <unordered_set>

#include "model/MemoHolderBase.h"
#include "model/MemoNode.h"
#include "model/TContent.h"
#include "platform/qt/QtSjis.h"
#include "text/CharEX.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr std::string_view kEncoding = "Content-Transfer-Encoding";

std::map<BodyKind, BodyMaker>& makers() {
  static std::map<BodyKind, BodyMaker> registered;
  return registered;
}

// The stand-in for a viewer not built yet: one read-only line naming what
// the node holds.
class TPendingBody final : public QWidget, public TNodeBody {
 public:
  TPendingBody(BodyKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    line_ = new QLineEdit(this);
    line_->setReadOnly(true);
    line_->setObjectName(QStringLiteral("PendingBody"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(line_);
    layout->addStretch(1);
  }
  QWidget* widget() override { return this; }
  void show_(const BodyRequest& request) override {
    std::string what = request.contentType;
    if (kind_ == BodyKind::Web) what = request.address.empty() ? request.caption : request.address;
    if (kind_ == BodyKind::Tree) what = request.poser ? "Poser" : "PoserLike";
    line_->setText(QStringLiteral("%1: %2").arg(QString::fromLatin1(bodyKindName_(kind_)),
                                                sjisToQString(what)));
  }

 private:
  BodyKind kind_;
  QLineEdit* line_;
};

MemoNode* findTarget(MemoNode& shadow) {
  const ShadowAddress address = parseShadowAddress_(shadow.getFilename());
  MemoHolderBase* holder = shadow.getHolderBase();
  if (address.kind == ShadowAddress::Kind::none || !holder) return nullptr;
  if (address.kind == ShadowAddress::Kind::holder)
    holder = holder->findHolderOfMemoFile_(address.holderName);
  if (!holder) return nullptr;
  return address.byUID ? holder->findNodeByUID_(address.key) : holder->findNode_(address.key);
}

}  // namespace

void registerNodeBody_(BodyKind kind, BodyMaker maker) {
  if (maker)
    makers()[kind] = std::move(maker);
  else
    makers().erase(kind);
}

TNodeBody* makeNodeBody_(BodyKind kind, TFrameMemoNode& frame, QWidget* parent) {
  const auto found = makers().find(kind);
  if (found != makers().end())
    if (TNodeBody* body = found->second(frame, parent)) return body;
  return new TPendingBody(kind, parent);
}

const char* bodyKindName_(BodyKind kind) {
  switch (kind) {
    case BodyKind::Picture:
      return "Picture";
    case BodyKind::Web:
      return "Web";
    case BodyKind::Tree:
      return "Tree";
  }
  return "";
}

BodyChoice chooseBody_(const MemoNode& node) {
  BodyChoice choice;
  const std::string encoding = node.getField_(kEncoding);
  if (encoding == "\"binary\"") {
    choice.contentType = lowerCase_(unquote_(node.getContentType()));
    const bool empty = !node.aContent || !node.aContent->aData || node.aContent->aData->empty();
    static constexpr std::string_view kPictures[] = {"image/jpeg", "image/bmp", "image/ico",
                                                     "image/png", "image/x-wmf"};
    if (empty)
      choice.show = BodyChoice::Show::Nothing;
    else if (choice.contentType == "image/gif")
      choice.show = BodyChoice::Show::GifPage;
    else if (std::find(std::begin(kPictures), std::end(kPictures), choice.contentType) !=
             std::end(kPictures))
      choice.show = BodyChoice::Show::Picture;
    else
      choice.show = BodyChoice::Show::Nothing;
  } else if (encoding == "\"URL\"") {
    choice.show = BodyChoice::Show::Web;
  } else if (encoding == "\"Poser\"" || encoding == "\"PoserLike\"") {
    choice.show = BodyChoice::Show::Tree;
    choice.poser = encoding == "\"Poser\"";
  }
  return choice;
}

bool isShadow_(const MemoNode& node) { return sameText_(node.getField_(kEncoding), "\"Shadow\""); }

MemoNode* resolveShadow_(MemoNode& node) {
  std::unordered_set<const MemoNode*> seen;
  MemoNode* at = &node;
  while (isShadow_(*at)) {
    if (!seen.insert(at).second) return nullptr;  // back at a node already followed
    at = findTarget(*at);
    if (!at) return nullptr;
  }
  return at;
}

}  // namespace vrk
