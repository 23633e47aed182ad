// The details panel of the multi-field nodes: a "Do Sync" button that asks the host for the node's fields.
#pragma once

#include "CoreMinimal.h"
#include "IDetailCustomization.h"
#include "Input/Reply.h"
#include "UObject/WeakObjectPtrTemplates.h"

class UKorvatD2ISyncNodeBase;

class FKorvatSyncNodeDetails : public IDetailCustomization
{
public:
	static TSharedRef<IDetailCustomization> MakeInstance();

	//~ Begin IDetailCustomization Interface
	virtual void CustomizeDetails(IDetailLayoutBuilder& DetailBuilder) override;
	//~ End IDetailCustomization Interface

private:
	FReply OnDoSyncClicked();

	/** The node the button acts on; the panel does not keep it alive. */
	TWeakObjectPtr<UKorvatD2ISyncNodeBase> SelectedNode;
};
