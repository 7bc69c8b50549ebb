#pragma once
// The interpreter's error texts (Shift_JIS) and the one way to raise them.
#include <string>
#include <string_view>

namespace vrk::script {

const std::string& kSyntaxError();        // 文法エラーです[%s]
const std::string& kNoRightParen();       // 右括弧がありません
const std::string& kVariableType();       // 変数の型が違います[%s]
const std::string& kFunctionType();       // 関数の戻り値の型が違います[%s]
const std::string& kUndefined();          // 変数または関数は定義されていません[%s]
const std::string& kNoBuiltInFunction();  // 未宣言の組み込み関数です[%s]
const std::string& kNoBuiltInProcedure();  // 未宣言の組み込み手続きです[%s]
const std::string& kReadOnly();  // 読取専用オブジェクトには代入できません[%s]
const std::string& kBadExpression();       // 式が不正です[%s]
const std::string& kNoEnd();               // endがありません[%s]
const std::string& kNoOf();                // ofがありません[%s]
const std::string& kDuplicateVariable();   // 変数/定数名の重複定義[%s]
const std::string& kDuplicateParameter();  // 仮引数名の重複定義[%s]
const std::string& kDefinitionError();     // 定義エラーです
const std::string& kDuplicateRoutine();    // 手続き/関数の重複宣言[%s]
const std::string& kStopped();             // 実行を中断しました
const std::string& kDivisionByZero();      // ゼロによる除算です[%s]
const std::string& kNotAnInteger();        // 整数に変換できない値です[%s]
const std::string& kTooDeep();             // 入れ子が深すぎます[%s]

// Throws ScriptError with the text, its "%s" (if any) filled with `fill`.
[[noreturn]] void fail_(const std::string& text, std::string_view fill = {});

}  // namespace vrk::script
