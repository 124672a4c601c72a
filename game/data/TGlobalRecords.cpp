// The global record tables, made once here.
#include "game/data/TGlobalRecords.h"

#include "game/data/TAccessoryTable.h"
#include "game/data/THrdefTable.h"
#include "game/data/TItemListTable.h"
#include "game/data/TItemMeanTable.h"
#include "game/data/TRecordTable.h"
#include "game/data/TSkillTable.h"
#include "game/data/TSvpTable.h"
#include "game/data/TWeaponTable.h"

template class TGlobalRecords<TWeaponRecord, TLoadMode::Append>;
template class TGlobalRecords<TAccessoryRecord, TLoadMode::Append>;
template class TGlobalRecords<TItemMeanRecord, TLoadMode::Append>;
template class TGlobalRecords<TItemListRecord, TLoadMode::Replace>;
template class TGlobalRecords<TSkillRecord, TLoadMode::Replace>;
template class TGlobalRecords<TSvpRecord, TLoadMode::Replace>;
template class TGlobalRecords<THrdefRecord, TLoadMode::Replace>;
