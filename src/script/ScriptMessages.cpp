#include "script/ScriptMessages.h"

#include "platform/SJ.h"
#include "script/DErevAzozev.h"

namespace vrk::script {

const std::string& kSyntaxError() { return SJ(u8"文法エラーです[%s]"); }
const std::string& kNoRightParen() { return SJ(u8"右括弧がありません"); }
const std::string& kVariableType() { return SJ(u8"変数の型が違います[%s]"); }
const std::string& kFunctionType() { return SJ(u8"関数の戻り値の型が違います[%s]"); }
const std::string& kUndefined() { return SJ(u8"変数または関数は定義されていません[%s]"); }
const std::string& kNoBuiltInFunction() { return SJ(u8"未宣言の組み込み関数です[%s]"); }
const std::string& kNoBuiltInProcedure() { return SJ(u8"未宣言の組み込み手続きです[%s]"); }
const std::string& kReadOnly() { return SJ(u8"読取専用オブジェクトには代入できません[%s]"); }
const std::string& kBadExpression() { return SJ(u8"式が不正です[%s]"); }
const std::string& kNoEnd() { return SJ(u8"endがありません[%s]"); }
const std::string& kNoOf() { return SJ(u8"ofがありません[%s]"); }
const std::string& kDuplicateVariable() { return SJ(u8"変数/定数名の重複定義[%s]"); }
const std::string& kDuplicateParameter() { return SJ(u8"仮引数名の重複定義[%s]"); }
const std::string& kDefinitionError() { return SJ(u8"定義エラーです"); }
const std::string& kDuplicateRoutine() { return SJ(u8"手続き/関数の重複宣言[%s]"); }
const std::string& kStopped() { return SJ(u8"実行を中断しました"); }
const std::string& kDivisionByZero() { return SJ(u8"ゼロによる除算です[%s]"); }
const std::string& kNotAnInteger() { return SJ(u8"整数に変換できない値です[%s]"); }
const std::string& kTooDeep() { return SJ(u8"入れ子が深すぎます[%s]"); }

void fail_(const std::string& text, std::string_view fill) {
  std::string message = text;
  const std::size_t at = message.find("%s");
  if (at != std::string::npos) message.replace(at, 2, fill);
  throw ScriptError(message);
}

}  // namespace vrk::script
