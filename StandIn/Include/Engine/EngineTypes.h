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

/** How a component's transform is treated when it is attached to a new parent. */
enum class EAttachmentRule : uint8
{
	/** Keeps the current relative transform as the relative transform to the new parent. */
	KeepRelative,
	/** Computes the relative transform that keeps the component's world transform. */
	KeepWorld,
	/** Snaps the transform to the attach point. */
	SnapToTarget,
};

/** The rules for location, rotation and scale when attaching a component. */
struct FAttachmentTransformRules
{
	/** Preset rules; none of them welds simulated bodies. */
	static ENGINE_API FAttachmentTransformRules KeepRelativeTransform;
	static ENGINE_API FAttachmentTransformRules KeepWorldTransform;
	static ENGINE_API FAttachmentTransformRules SnapToTargetNotIncludingScale;
	static ENGINE_API FAttachmentTransformRules SnapToTargetIncludingScale;

	FAttachmentTransformRules(EAttachmentRule InRule, bool bInWeldSimulatedBodies)
		: LocationRule(InRule)
		, RotationRule(InRule)
		, ScaleRule(InRule)
		, bWeldSimulatedBodies(bInWeldSimulatedBodies)
	{
	}

	FAttachmentTransformRules(
		EAttachmentRule InLocationRule, EAttachmentRule InRotationRule, EAttachmentRule InScaleRule, bool bInWeldSimulatedBodies)
		: LocationRule(InLocationRule)
		, RotationRule(InRotationRule)
		, ScaleRule(InScaleRule)
		, bWeldSimulatedBodies(bInWeldSimulatedBodies)
	{
	}

	/** The rule for the location. */
	EAttachmentRule LocationRule;
	/** The rule for the rotation. */
	EAttachmentRule RotationRule;
	/** The rule for the scale. */
	EAttachmentRule ScaleRule;
	/** Whether simulated bodies are welded together (the stand-in has no physics scene). */
	bool bWeldSimulatedBodies;
};

/** How a component's transform is treated when it is detached from its parent. */
enum class EDetachmentRule : uint8
{
	/** Keeps the current relative transform, which becomes the world transform. */
	KeepRelative,
	/** Keeps the current world transform. */
	KeepWorld,
};

/** The rules for location, rotation and scale when detaching a component. */
struct FDetachmentTransformRules
{
	/** Preset rules. */
	static ENGINE_API FDetachmentTransformRules KeepRelativeTransform;
	static ENGINE_API FDetachmentTransformRules KeepWorldTransform;

	FDetachmentTransformRules(EDetachmentRule InRule, bool bInCallModify)
		: LocationRule(InRule)
		, RotationRule(InRule)
		, ScaleRule(InRule)
		, bCallModify(bInCallModify)
	{
	}

	FDetachmentTransformRules(
		EDetachmentRule InLocationRule, EDetachmentRule InRotationRule, EDetachmentRule InScaleRule, bool bInCallModify)
		: LocationRule(InLocationRule)
		, RotationRule(InRotationRule)
		, ScaleRule(InScaleRule)
		, bCallModify(bInCallModify)
	{
	}

	/** The detachment rules matching attachment rules: KeepRelative stays, the others keep the world transform. */
	FDetachmentTransformRules(const FAttachmentTransformRules& AttachmentRules, bool bInCallModify)
		: LocationRule(DetachmentRuleOf(AttachmentRules.LocationRule))
		, RotationRule(DetachmentRuleOf(AttachmentRules.RotationRule))
		, ScaleRule(DetachmentRuleOf(AttachmentRules.ScaleRule))
		, bCallModify(bInCallModify)
	{
	}

	/** The rule for the location. */
	EDetachmentRule LocationRule;
	/** The rule for the rotation. */
	EDetachmentRule RotationRule;
	/** The rule for the scale. */
	EDetachmentRule ScaleRule;
	/** Whether Modify is called on the component and its parent (the stand-in has no transactions). */
	bool bCallModify;

private:
	static EDetachmentRule DetachmentRuleOf(EAttachmentRule Rule)
	{
		return Rule == EAttachmentRule::KeepRelative ? EDetachmentRule::KeepRelative : EDetachmentRule::KeepWorld;
	}
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
