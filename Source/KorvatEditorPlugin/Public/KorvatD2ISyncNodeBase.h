// The base of the multi-field Korvat nodes: nodes whose pins follow the fields of one host node, which they
// can ask the host for.
#pragma once

#include "CoreMinimal.h"
#include "K2Node.h"
#include "KorvatNodeField.h"
#include "UE4ComCommon.h"

#include <vector>

#include "KorvatD2ISyncNodeBase.generated.h"

UCLASS()
class KORVATEDITORPLUGIN_API UKorvatD2ISyncNodeBase : public UK2Node, public IKorvatNodeFieldSync
{
	GENERATED_BODY()

public:
	/** The host node whose fields this node follows. */
	UPROPERTY(EditAnywhere, Category = "Custom Data Model Sync")
	FString nodeInKorvatToSyncFrom;

	/** Asks the host for the fields of nodeInKorvatToSyncFrom; the answer arrives later through UpdateNodeFields. */
	virtual void SyncFields() {}

	//~ Begin IKorvatNodeFieldSync Interface
	virtual void UpdateNodeFields(const std::vector<Korvat::UE4::FieldDescriptor>& Fields) override {}
	//~ End IKorvatNodeFieldSync Interface

	/**
	 * The name Field should have at position Index of its array: a name made from the type and index when it is
	 * empty, else the name with "_" before a leading character that is not a letter or "_", and with every other
	 * character that is not an ASCII letter, digit or "_" replaced by "_".
	 */
	static FString FixName(int32 Index, const FKorvatNodeField& Field);

	//~ Begin UObject Interface
	virtual void BeginDestroy() override;
	//~ End UObject Interface

protected:
	/** Asks the loaded runtime module for this node's fields. */
	void RequestFieldsFromHost();
};
