// Shared engine enumerations of the stand-in engine (module Engine).
#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineBaseTypes.h"

/** The kinds of world. */
namespace EWorldType
{
	enum Type
	{
		/** An untyped world; the engine never creates one. */
		None,
		/** The game world of a standalone game. */
		Game,
		/** The world being edited in the editor. */
		Editor,
		/** A play-in-editor world. */
		PIE,
		/** A preview world for an editor tool. */
		EditorPreview,
		/** A preview world for a game. */
		GamePreview,
		/** A minimal world for remote procedure calls. */
		GameRPC,
		/** A world loaded but not currently in use. */
		Inactive,
	};
}

/** How a transform change treats physics state. */
enum class ETeleportType : uint8
{
	/** Velocity follows the move. */
	None,
	/** Physics state is moved without velocity. */
	TeleportPhysics,
	/** Physics state is reset. */
	ResetPhysics,
};

/** Why an actor ends play. */
namespace EEndPlayReason
{
	enum Type : int
	{
		Destroyed,
		LevelTransition,
		EndPlayInEditor,
		RemovedFromWorld,
		Quit,
	};
}
