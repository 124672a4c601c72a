#include "game/script/TScriptProgram.h"

#include "game/script/TScriptEngine.h"
#include "game/script/TScriptPack.h"

TScriptProgram::TScriptProgram(TScriptEngine& e, const std::string& n) : engine(e), name(n) {
  SplitName(name, pack, member);
  Load();
}

void TScriptProgram::SplitName(const std::string& name, std::string& pack, std::string& member) {
  size_t slash = name.find('/');
  if (slash == std::string::npos || slash == 0) {
    pack.clear();
    member.clear();
    return;
  }
  pack = name.substr(0, slash);
  member = name.substr(slash + 1);
}

std::string TScriptProgram::Describe() const {
  return "script pack \"" + pack + "\" member \"" + member + "\"";
}

void TScriptProgram::Load() {
  std::vector<TScriptLine> lines = TScriptPack::ReadMember(TScriptEngine::GetFolder() + pack, pack, member);
  std::vector<TScriptStatement*> chain;
  chain.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    Append(TScriptStatement::Build(lines[i], *this, i));
    chain.push_back(statements.back().Get());
  }
  for (size_t i = 0; i + 1 < chain.size(); ++i) chain[i]->SetNext(chain[i + 1]);
  TScriptStatement::Link(chain, Describe());
  // The engine drops the queue's front when a step ends a script; a final script call would have
  // put its callee there, so the caller must still have a statement to end on.
  if (chain.back()->GetKind() == TScriptStatementKind::Call) {
    Append(TScriptStatement::MakeReturn(*this));
    chain.back()->SetNext(statements.back().Get());
  }
  current = statements.front().Get();
  previous = nullptr;
}

bool TScriptProgram::Step() {
  if (!current) return false;
  TScriptStatement* ran = current;
  TScriptStatement* following = ran->Execute();
  previous = ran;
  current = following;
  return current != nullptr;
}

TScriptLabel* TScriptProgram::FindLabel(const std::string& labelName, TScriptStatement* statement) {
  for (auto& label : labels) {
    if (label->name == labelName) {
      if (statement) label->target = statement;
      return label.Get();
    }
  }
  labels.push_back(TCountedPtr<TScriptLabel>(new TScriptLabel(this, labelName, statement)));
  return labels.back().Get();
}
