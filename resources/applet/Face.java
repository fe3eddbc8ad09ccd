/**
 * One face of an OFF model: the 0-based vertex indices in the order the file
 * lists them, and its colour (red, green, blue from 0 to 1), if the file gives one.
 * Indices are kept exactly as read, also when they name no vertex; whoever draws
 * the face checks them against the vertex count.
 */
public class Face {
    private final long[] indices;
    private final boolean coloured;
    private final float red, green, blue;

    public Face(long[] indices) {
        this.indices = indices.clone();
        this.coloured = false;
        this.red = this.green = this.blue = 0f;
    }

    public Face(long[] indices, float red, float green, float blue) {
        this.indices = indices.clone();
        this.coloured = true;
        this.red = clamp(red);
        this.green = clamp(green);
        this.blue = clamp(blue);
    }

    private static float clamp(float v) {
        if (!(v >= 0f)) return 0f; // NaN too
        return v > 1f ? 1f : v;
    }

    public int size() { return indices.length; }
    public long index(int i) { return indices[i]; }
    public boolean hasColour() { return coloured; }
    public float red() { return red; }
    public float green() { return green; }
    public float blue() { return blue; }

    /** True when every index names one of the vertexCount vertices. */
    public boolean fits(int vertexCount) {
        for (long i : indices) {
            if (i < 0 || i >= vertexCount) return false;
        }
        return true;
    }
}
