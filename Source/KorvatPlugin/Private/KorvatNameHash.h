// Value ids of the names Blueprints use for host values, methods and events.
#pragma once

#include "CoreMinimal.h"

namespace KorvatNameHash
{
/**
 * The value id of Name: its lower-cased UTF-8 bytes up to the first NUL, hashed with the CRC-32 the host uses
 * (lowest bit inverted). Names that differ only in letter case share an id. An empty name logs a warning and
 * gives 0.
 */
KORVATPLUGIN_API uint32 ValueIdOfName(const FString& Name);

/** The value id of NodeName + "." + FieldName; the joined name is built only when a name is not plain ASCII. */
KORVATPLUGIN_API uint32 ValueIdOfField(const FString& NodeName, const FString& FieldName);
} // namespace KorvatNameHash
