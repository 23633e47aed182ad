// The stand-in for the TextureShare transport: what a share object delivers in a frame, written where the host
// simulator reads it (Host/Simulator/ShareChannel.h describes the format). Internal to the stand-in library.
#pragma once

#include "CoreMinimal.h"

#include <filesystem>

namespace TextureShareChannel
{
/** $KORVAT_TEXTURESHARE_DIR, or <system temporary folder>/korvat-textureshare when unset or empty. */
std::filesystem::path Directory();

/** The file of ShareName: its name with characters unsafe in file names replaced by '_', plus ".params". */
std::filesystem::path FileOf(const FString& ShareName);

/**
 * Rewrites the share object's file with Frame and Parameters (in map order): writes a temporary file next to
 * it, then renames it over the old one, so a reader sees either the old frame or the new one. Creates the
 * folder when needed. Returns false when the file could not be written.
 */
bool Deliver(const FString& ShareName, uint32 Frame, const TArray<TPair<FString, FString>>& Parameters);

/** Removes the share object's file, if any. */
void Remove(const FString& ShareName);
} // namespace TextureShareChannel
