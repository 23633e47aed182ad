// Tickable objects: every live FTickableGameObject is in one static list, ticked once per engine
// tick (FTickableGameObject::TickObjects) subject to its IsTickable / paused / editor answers.
#pragma once

#include "CoreMinimal.h"
#include "Stats/Stats.h"

class UWorld;

enum class ETickableTickType : uint8
{
	/** Ticks when IsTickable() says so. */
	Conditional,
	/** Always ticks. */
	Always,
	/** Never ticks. */
	Never,
};

class ENGINE_API FTickableObjectBase
{
public:
	virtual ~FTickableObjectBase() {}

	virtual void Tick(float DeltaTime) = 0;
	virtual bool IsTickable() const { return true; }
	virtual ETickableTickType GetTickableTickType() const { return ETickableTickType::Conditional; }
	virtual bool IsAllowedToTick() const { return true; }
	virtual TStatId GetStatId() const = 0;
};

class ENGINE_API FTickableGameObject : public FTickableObjectBase
{
public:
	/** Registers this instance with the static array of tickable objects. */
	FTickableGameObject();
	virtual ~FTickableGameObject();
	FTickableGameObject(const FTickableGameObject&) = delete;
	FTickableGameObject& operator=(const FTickableGameObject&) = delete;

	virtual UWorld* GetTickableGameObjectWorld() const { return nullptr; }
	virtual bool IsTickableWhenPaused() const { return false; }
	virtual bool IsTickableInEditor() const { return false; }

	/**
	 * Ticks every registered object that may tick now: not Never, IsTickable for Conditional ones,
	 * IsTickableWhenPaused while paused, IsTickableInEditor in the editor, and (given a world) whose
	 * own world is none or that world.
	 */
	static void TickObjects(UWorld* World, int32 TickType, bool bIsPaused, float DeltaSeconds);
};
