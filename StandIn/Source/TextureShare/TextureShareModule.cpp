#include "ITextureShare.h"

#include "TextureShareState.h"

/** The TextureShare module: hands out the process's TextureShare API. */
class FTextureShareModule : public ITextureShare
{
public:
	//~ Begin ITextureShare Interface
	virtual ITextureShareAPI& GetTextureShareAPI() override { return TextureShareState::GetAPI(); }
	//~ End ITextureShare Interface
};

IMPLEMENT_MODULE(FTextureShareModule, TextureShare)
